#include "tools/kestrow_sign/terminal_text.h"

#include "framework/unicode.h"

namespace {

void AppendEscaped(std::string& strOut, unsigned char by) {
    static const char s_szHex[] = "0123456789abcdef";
    strOut += "\\x";
    strOut += s_szHex[by >> 4];
    strOut += s_szHex[by & 0x0F];
}

} // namespace

std::string EscapeForTerminal(const std::string& strText) {
    std::string strOut;
    strOut.reserve(strText.size());
    std::size_t i = 0;
    while (i < strText.size()) {
        // Well-formed UTF-8 up to nEnd; the byte there, if any, begins no character.
        const std::size_t nBad = FindNonUtf8(strText.data() + i, strText.size() - i);
        const std::size_t nEnd = nBad == kNotUnicode ? strText.size() : i + nBad;
        for (; i < nEnd; ++i) {
            const auto by = static_cast<unsigned char>(strText[i]);
            // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F.
            if (by == 0xC2 && static_cast<unsigned char>(strText[i + 1]) < 0xA0) {
                AppendEscaped(strOut, by);
                AppendEscaped(strOut, static_cast<unsigned char>(strText[++i]));
            } else if (by < 0x20 || by == 0x7F) {
                AppendEscaped(strOut, by);
            } else {
                strOut += static_cast<char>(by);
            }
        }
        if (i < strText.size()) {
            AppendEscaped(strOut, static_cast<unsigned char>(strText[i++]));
        }
    }
    return strOut;
}
