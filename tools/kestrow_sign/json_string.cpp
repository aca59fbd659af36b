#include "tools/kestrow_sign/json_string.h"

#include <cstddef>

namespace {

bool IsContinuation(unsigned char by) {
    return (by & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence starting at pby (RFC 3629: no overlong forms,
// no surrogates, nothing above U+10FFFF), or 0 when there is none.
std::size_t Utf8SequenceLength(const unsigned char* pby, std::size_t nLeft) {
    const unsigned char by = pby[0];
    if (by < 0x80) {
        return 1;
    }
    std::size_t nLength = 0;
    unsigned char bySecondMin = 0x80;
    unsigned char bySecondMax = 0xBF;
    if (by >= 0xC2 && by <= 0xDF) {
        nLength = 2;
    } else if (by >= 0xE0 && by <= 0xEF) {
        nLength = 3;
        if (by == 0xE0) {
            bySecondMin = 0xA0;
        } else if (by == 0xED) {
            bySecondMax = 0x9F;
        }
    } else if (by >= 0xF0 && by <= 0xF4) {
        nLength = 4;
        if (by == 0xF0) {
            bySecondMin = 0x90;
        } else if (by == 0xF4) {
            bySecondMax = 0x8F;
        }
    } else {
        return 0;
    }
    if (nLeft < nLength || pby[1] < bySecondMin || pby[1] > bySecondMax) {
        return 0;
    }
    for (std::size_t i = 2; i < nLength; ++i) {
        if (!IsContinuation(pby[i])) {
            return 0;
        }
    }
    return nLength;
}

void AppendUnicodeEscape(std::string& strOut, unsigned char by) {
    static const char s_szHex[] = "0123456789abcdef";
    strOut += "\\u00";
    strOut += s_szHex[by >> 4];
    strOut += s_szHex[by & 0x0F];
}

} // namespace

std::string JsonQuote(const std::string& strText) {
    std::string strOut;
    strOut.reserve(strText.size() + 2);
    strOut += '"';
    const auto* pby = reinterpret_cast<const unsigned char*>(strText.data());
    const std::size_t nSize = strText.size();
    std::size_t i = 0;
    while (i < nSize) {
        const unsigned char by = pby[i];
        switch (by) {
        case '"':
            strOut += "\\\"";
            break;
        case '\\':
            strOut += "\\\\";
            break;
        case '\b':
            strOut += "\\b";
            break;
        case '\f':
            strOut += "\\f";
            break;
        case '\n':
            strOut += "\\n";
            break;
        case '\r':
            strOut += "\\r";
            break;
        case '\t':
            strOut += "\\t";
            break;
        default:
            if (by < 0x20) {
                AppendUnicodeEscape(strOut, by);
            } else if (by < 0x80) {
                strOut += static_cast<char>(by);
            } else if (const std::size_t nLength = Utf8SequenceLength(pby + i, nSize - i)) {
                strOut.append(strText, i, nLength);
                i += nLength;
                continue;
            } else {
                AppendUnicodeEscape(strOut, by);
            }
            break;
        }
        ++i;
    }
    strOut += '"';
    return strOut;
}
