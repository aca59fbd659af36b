#include "json_reader.h"

#include <cstdint>

namespace {

class CJsonReader {
public:
    explicit CJsonReader(const std::string& strText) : m_strText(strText) {}

    bool ParseDocument(SJsonValue& value, std::string& strError) {
        SkipSpace();
        const bool bOk = Peek() == '{' ? ParseObject(value) : ParseScalar(value);
        SkipSpace();
        if (bOk && m_nPos != m_strText.size()) {
            m_strError = "trailing characters";
        } else if (bOk) {
            return true;
        }
        strError = m_strError + " at offset " + std::to_string(m_nPos);
        return false;
    }

private:
    bool Error(const char* pszWhat) {
        m_strError = pszWhat;
        return false;
    }
    unsigned char Peek(std::size_t nAhead = 0) const {
        const std::size_t nAt = m_nPos + nAhead;
        return nAt < m_strText.size() ? static_cast<unsigned char>(m_strText[nAt]) : 0;
    }
    void SkipSpace() {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r') {
            ++m_nPos;
        }
    }
    bool Expect(char ch) {
        SkipSpace();
        if (Peek() != static_cast<unsigned char>(ch)) {
            return Error("unexpected character");
        }
        ++m_nPos;
        SkipSpace();
        return true;
    }

    bool ParseScalar(SJsonValue& value) {
        for (const bool b : {true, false}) {
            const std::string strWord = b ? "true" : "false";
            if (m_strText.compare(m_nPos, strWord.size(), strWord) == 0) {
                m_nPos += strWord.size();
                value.nKind = SJsonValue::JSON_BOOL;
                value.bValue = b;
                return true;
            }
        }
        value.nKind = SJsonValue::JSON_STRING;
        return ParseString(value.strValue);
    }

    bool ParseObject(SJsonValue& value) {
        value.nKind = SJsonValue::JSON_OBJECT;
        if (!Expect('{')) {
            return false;
        }
        if (Peek() == '}') {
            ++m_nPos;
            return true;
        }
        do {
            std::string strName;
            SJsonValue member;
            if (!ParseString(strName) || !Expect(':') || !ParseScalar(member)) {
                return false;
            }
            if (!value.members.emplace(strName, member).second) {
                return Error("repeated member name");
            }
            value.memberOrder.push_back(strName);
            SkipSpace();
        } while (Peek() == ',' && Expect(','));
        return Expect('}');
    }

    bool ReadHex4(std::uint32_t& nUnit) {
        nUnit = 0;
        for (int i = 0; i < 4; ++i, ++m_nPos) {
            const unsigned char ch = Peek();
            const char* const pszHex = "0123456789abcdef0123456789ABCDEF";
            std::uint32_t nDigit = 0;
            while (nDigit < 32 && static_cast<unsigned char>(pszHex[nDigit]) != ch) {
                ++nDigit;
            }
            if (nDigit == 32 || ch == 0) {
                return Error("bad \\u escape");
            }
            nUnit = nUnit * 16 + nDigit % 16;
        }
        return true;
    }

    static void AppendUtf8(std::string& str, std::uint32_t nCode) {
        if (nCode < 0x80) {
            str += static_cast<char>(nCode);
            return;
        }
        const int nTrail = nCode < 0x800 ? 1 : nCode < 0x10000 ? 2 : 3;
        const unsigned char abyLead[] = {0, 0xC0, 0xE0, 0xF0};
        str += static_cast<char>(abyLead[nTrail] | (nCode >> (6 * nTrail)));
        for (int i = nTrail - 1; i >= 0; --i) {
            str += static_cast<char>(0x80 | ((nCode >> (6 * i)) & 0x3F));
        }
    }

    bool ParseEscape(std::string& str) {
        const unsigned char ch = Peek();
        ++m_nPos;
        const char* const pszSimple = "\"\"\\\\//b\bf\fn\nr\rt\t";
        for (const char* p = pszSimple; *p != '\0'; p += 2) {
            if (ch == static_cast<unsigned char>(p[0])) {
                str += p[1];
                return true;
            }
        }
        std::uint32_t nUnit = 0;
        if (ch != 'u' || !ReadHex4(nUnit)) {
            return Error("bad escape");
        }
        if (nUnit >= 0xDC00 && nUnit <= 0xDFFF) {
            return Error("lone low surrogate");
        }
        if (nUnit >= 0xD800 && nUnit <= 0xDBFF) {
            std::uint32_t nLow = 0;
            if (Peek() != '\\' || Peek(1) != 'u') {
                return Error("lone high surrogate");
            }
            m_nPos += 2;
            if (!ReadHex4(nLow) || nLow < 0xDC00 || nLow > 0xDFFF) {
                return Error("bad surrogate pair");
            }
            nUnit = 0x10000 + ((nUnit - 0xD800) << 10) + (nLow - 0xDC00);
        }
        AppendUtf8(str, nUnit);
        return true;
    }

    // One raw UTF-8 character, decoded and checked for the shortest form and range.
    bool ParseRawUtf8(std::string& str) {
        const unsigned char byLead = Peek();
        const int nTrail = byLead >= 0xF8   ? -1
                           : byLead >= 0xF0 ? 3
                           : byLead >= 0xE0 ? 2
                           : byLead >= 0xC0 ? 1
                                            : -1;
        if (nTrail < 0) {
            return Error("bad UTF-8 lead byte");
        }
        std::uint32_t nCode = byLead & (0x3Fu >> nTrail);
        for (int i = 1; i <= nTrail; ++i) {
            if ((Peek(static_cast<std::size_t>(i)) & 0xC0) != 0x80) {
                return Error("bad UTF-8 sequence");
            }
            nCode = (nCode << 6) | (Peek(static_cast<std::size_t>(i)) & 0x3F);
        }
        const std::uint32_t anMin[] = {0, 0x80, 0x800, 0x10000};
        if (nCode < anMin[nTrail] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
            return Error("bad UTF-8 code point");
        }
        str.append(m_strText, m_nPos, static_cast<std::size_t>(nTrail) + 1);
        m_nPos += static_cast<std::size_t>(nTrail) + 1;
        return true;
    }

    bool ParseString(std::string& str) {
        if (Peek() != '"') {
            return Error("string expected");
        }
        ++m_nPos;
        for (;;) {
            const unsigned char ch = Peek();
            if (m_nPos >= m_strText.size()) {
                return Error("unterminated string");
            }
            if (ch == '"') {
                ++m_nPos;
                return true;
            }
            if (ch < 0x20) {
                return Error("raw control character in string");
            }
            if (ch == '\\') {
                ++m_nPos;
                if (!ParseEscape(str)) {
                    return false;
                }
            } else if (ch >= 0x80) {
                if (!ParseRawUtf8(str)) {
                    return false;
                }
            } else {
                str += static_cast<char>(ch);
                ++m_nPos;
            }
        }
    }

    const std::string& m_strText;
    std::size_t m_nPos = 0;
    std::string m_strError;
};

} // namespace

bool ParseJson(const std::string& strText, SJsonValue& value, std::string& strError) {
    SJsonValue parsed;
    CJsonReader reader(strText);
    if (!reader.ParseDocument(parsed, strError)) {
        return false;
    }
    value = parsed;
    return true;
}
