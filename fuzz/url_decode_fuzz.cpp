// UrlDecode against a plain model: every "%" takes the next two characters as a hex number
// (strtol), "+" is a blank, all else stays; any "%" without two hex digits refuses the
// whole text and leaves the result alone. And what UrlEncode writes decodes back.

#include <cctype>
#include <cstdlib>
#include <string>

#include "engine/decoding.h"
#include "engine/encoding.h"

namespace {

// The program never sets a locale, so this is the "C" locale's ASCII class.
bool IsHexDigit(char ch) {
    return std::isxdigit(static_cast<unsigned char>(ch)) != 0;
}

bool ModelDecode(const std::string& strIn, std::string& strOut) {
    strOut.clear();
    for (std::size_t i = 0; i < strIn.size(); ++i) {
        if (strIn[i] == '%') {
            if (i + 2 >= strIn.size() || !IsHexDigit(strIn[i + 1]) || !IsHexDigit(strIn[i + 2])) {
                return false;
            }
            strOut += static_cast<char>(std::strtol(strIn.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            strOut += strIn[i] == '+' ? ' ' : strIn[i];
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    const std::string strInput(reinterpret_cast<const char*>(pbData), cbData);
    std::string strModel;
    CString strOurs("untouched");
    const bool bOurs = UrlDecode(strInput, strOurs);
    if (bOurs != ModelDecode(strInput, strModel) ||
        strOurs.str() != (bOurs ? strModel : std::string("untouched"))) {
        std::abort();
    }
    // Encoding loses only which white-space character it was and what follows a NUL.
    std::string strPlain = strInput.substr(0, strInput.find('\0'));
    for (char& ch : strPlain) {
        ch = ch == ' ' || (ch >= '\t' && ch <= '\r') ? ' ' : ch;
    }
    CString strBack;
    if (!UrlDecode(UrlEncode(strInput), strBack) || strBack.str() != strPlain) {
        std::abort();
    }
    return 0;
}
