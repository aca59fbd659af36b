#include "json_reader.h"

#include <cstdint>
#include <cstdlib>

namespace {

class CJsonReader {
public:
    explicit CJsonReader(const std::string& strText) : m_strText(strText) {}

    bool ParseDocument(SJsonValue& value, std::string& strError) {
        SkipSpace();
        if (!ParseValue(value, 0)) {
            strError = m_strError + " at offset " + std::to_string(m_nPos);
            return false;
        }
        SkipSpace();
        if (m_nPos != m_strText.size()) {
            strError = "trailing characters at offset " + std::to_string(m_nPos);
            return false;
        }
        return true;
    }

private:
    bool Error(const char* pszWhat) {
        m_strError = pszWhat;
        return false;
    }
    bool AtEnd() const { return m_nPos >= m_strText.size(); }
    unsigned char Peek() const {
        return AtEnd() ? 0 : static_cast<unsigned char>(m_strText[m_nPos]);
    }
    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            ++m_nPos;
        }
    }
    bool Literal(const char* psz) {
        const std::string str = psz;
        if (m_strText.compare(m_nPos, str.size(), str) != 0) {
            return Error("bad literal");
        }
        m_nPos += str.size();
        return true;
    }

    bool ParseValue(SJsonValue& value, int nDepth) {
        if (nDepth > 64) {
            return Error("nested too deep");
        }
        switch (Peek()) {
        case '{':
            return ParseObject(value, nDepth);
        case '[':
            return ParseArray(value, nDepth);
        case '"':
            value.nKind = SJsonValue::JSON_STRING;
            return ParseString(value.strValue);
        case 't':
            value.nKind = SJsonValue::JSON_BOOL;
            value.bValue = true;
            return Literal("true");
        case 'f':
            value.nKind = SJsonValue::JSON_BOOL;
            value.bValue = false;
            return Literal("false");
        case 'n':
            value.nKind = SJsonValue::JSON_NULL;
            return Literal("null");
        default:
            return ParseNumber(value);
        }
    }

    bool ParseObject(SJsonValue& value, int nDepth) {
        value.nKind = SJsonValue::JSON_OBJECT;
        ++m_nPos;
        SkipSpace();
        if (Peek() == '}') {
            ++m_nPos;
            return true;
        }
        for (;;) {
            std::string strName;
            if (Peek() != '"' || !ParseString(strName)) {
                return Error("member name expected");
            }
            SkipSpace();
            if (Peek() != ':') {
                return Error("':' expected");
            }
            ++m_nPos;
            SkipSpace();
            SJsonValue member;
            if (!ParseValue(member, nDepth + 1)) {
                return false;
            }
            if (!value.members.emplace(strName, member).second) {
                return Error("repeated member name");
            }
            value.memberOrder.push_back(strName);
            SkipSpace();
            if (Peek() == '}') {
                ++m_nPos;
                return true;
            }
            if (Peek() != ',') {
                return Error("',' or '}' expected");
            }
            ++m_nPos;
            SkipSpace();
        }
    }

    bool ParseArray(SJsonValue& value, int nDepth) {
        value.nKind = SJsonValue::JSON_ARRAY;
        ++m_nPos;
        SkipSpace();
        if (Peek() == ']') {
            ++m_nPos;
            return true;
        }
        for (;;) {
            SJsonValue item;
            if (!ParseValue(item, nDepth + 1)) {
                return false;
            }
            value.items.push_back(item);
            SkipSpace();
            if (Peek() == ']') {
                ++m_nPos;
                return true;
            }
            if (Peek() != ',') {
                return Error("',' or ']' expected");
            }
            ++m_nPos;
            SkipSpace();
        }
    }

    bool ParseNumber(SJsonValue& value) {
        const std::size_t nStart = m_nPos;
        const auto Digits = [this]() {
            const std::size_t nFrom = m_nPos;
            while (Peek() >= '0' && Peek() <= '9') {
                ++m_nPos;
            }
            return m_nPos - nFrom;
        };
        if (Peek() == '-') {
            ++m_nPos;
        }
        const bool bLeadingZero = Peek() == '0';
        const std::size_t nIntDigits = Digits();
        if (nIntDigits == 0 || (bLeadingZero && nIntDigits > 1)) {
            return Error("bad number");
        }
        if (Peek() == '.') {
            ++m_nPos;
            if (Digits() == 0) {
                return Error("bad fraction");
            }
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_nPos;
            if (Peek() == '+' || Peek() == '-') {
                ++m_nPos;
            }
            if (Digits() == 0) {
                return Error("bad exponent");
            }
        }
        value.nKind = SJsonValue::JSON_NUMBER;
        value.dValue = std::strtod(m_strText.substr(nStart, m_nPos - nStart).c_str(), nullptr);
        return true;
    }

    bool ReadHex4(std::uint32_t& nUnit) {
        nUnit = 0;
        for (int i = 0; i < 4; ++i) {
            const unsigned char ch = Peek();
            int nDigit = -1;
            if (ch >= '0' && ch <= '9') {
                nDigit = ch - '0';
            } else if (ch >= 'a' && ch <= 'f') {
                nDigit = ch - 'a' + 10;
            } else if (ch >= 'A' && ch <= 'F') {
                nDigit = ch - 'A' + 10;
            } else {
                return Error("bad \\u escape");
            }
            nUnit = nUnit * 16 + static_cast<std::uint32_t>(nDigit);
            ++m_nPos;
        }
        return true;
    }

    static void AppendUtf8(std::string& str, std::uint32_t nCode) {
        if (nCode < 0x80) {
            str += static_cast<char>(nCode);
        } else if (nCode < 0x800) {
            str += static_cast<char>(0xC0 | (nCode >> 6));
            str += static_cast<char>(0x80 | (nCode & 0x3F));
        } else if (nCode < 0x10000) {
            str += static_cast<char>(0xE0 | (nCode >> 12));
            str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
            str += static_cast<char>(0x80 | (nCode & 0x3F));
        } else {
            str += static_cast<char>(0xF0 | (nCode >> 18));
            str += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
            str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
            str += static_cast<char>(0x80 | (nCode & 0x3F));
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
        if (ch != 'u') {
            return Error("bad escape");
        }
        std::uint32_t nUnit = 0;
        if (!ReadHex4(nUnit)) {
            return false;
        }
        if (nUnit >= 0xDC00 && nUnit <= 0xDFFF) {
            return Error("lone low surrogate");
        }
        if (nUnit >= 0xD800 && nUnit <= 0xDBFF) {
            std::uint32_t nLow = 0;
            if (m_strText.compare(m_nPos, 2, "\\u") != 0) {
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
        int nTrail = 0;
        std::uint32_t nCode = 0;
        if (byLead >= 0xF0 && byLead < 0xF8) {
            nTrail = 3;
            nCode = byLead & 0x07;
        } else if (byLead >= 0xE0) {
            nTrail = byLead < 0xF0 ? 2 : -1;
            nCode = byLead & 0x0F;
        } else if (byLead >= 0xC0) {
            nTrail = 1;
            nCode = byLead & 0x1F;
        } else {
            return Error("stray UTF-8 continuation byte");
        }
        if (nTrail < 0 || m_nPos + static_cast<std::size_t>(nTrail) >= m_strText.size()) {
            return Error("bad UTF-8");
        }
        for (int i = 1; i <= nTrail; ++i) {
            const auto by = static_cast<unsigned char>(m_strText[m_nPos + i]);
            if ((by & 0xC0) != 0x80) {
                return Error("bad UTF-8");
            }
            nCode = (nCode << 6) | (by & 0x3F);
        }
        const std::uint32_t anMin[] = {0, 0x80, 0x800, 0x10000};
        if (nCode < anMin[nTrail] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
            return Error("bad UTF-8");
        }
        str.append(m_strText, m_nPos, static_cast<std::size_t>(nTrail) + 1);
        m_nPos += static_cast<std::size_t>(nTrail) + 1;
        return true;
    }

    bool ParseString(std::string& str) {
        ++m_nPos; // the opening quote
        for (;;) {
            if (AtEnd()) {
                return Error("unterminated string");
            }
            const unsigned char ch = Peek();
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
