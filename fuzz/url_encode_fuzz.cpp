// UrlEncode against a decoder: the output uses only letters, digits, "+" and upper-case
// "%XX" escapes, and decodes to the input up to its first NUL (each white-space
// character standing as "+").

#include <cstdlib>
#include <string>

#include "engine/encoding.h"

namespace {

bool IsAlnum(unsigned char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
}

bool IsSpace(unsigned char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

int UpperHexValue(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

// White space decodes to a space. Aborts on anything an encoder must not produce: a stray
// character, a short or lower-case escape, or an escape of a byte that has a shorter form.
std::string Decode(const std::string& strEncoded) {
    std::string strDecoded;
    for (std::size_t i = 0; i < strEncoded.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(strEncoded[i]);
        if (IsAlnum(ch)) {
            strDecoded += static_cast<char>(ch);
        } else if (ch == '+') {
            strDecoded += ' ';
        } else if (ch == '%' && i + 2 < strEncoded.size()) {
            const int nHigh = UpperHexValue(strEncoded[i + 1]);
            const int nLow = UpperHexValue(strEncoded[i + 2]);
            const unsigned char by = static_cast<unsigned char>(nHigh * 16 + nLow);
            if (nHigh < 0 || nLow < 0 || by == 0 || IsAlnum(by) || IsSpace(by)) {
                std::abort();
            }
            strDecoded += static_cast<char>(by);
            i += 2;
        } else {
            std::abort();
        }
    }
    return strDecoded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    const std::string strInput(reinterpret_cast<const char*>(pbData), cbData);
    const CString strEncoded = UrlEncode(CString(strInput));
    if (static_cast<std::size_t>(strEncoded.GetLength()) > 3 * cbData) {
        std::abort();
    }

    std::string strExpected = strInput.substr(0, strInput.find('\0'));
    for (char& ch : strExpected) {
        if (IsSpace(static_cast<unsigned char>(ch))) {
            ch = ' ';
        }
    }
    if (Decode(strEncoded.str()) != strExpected) {
        std::abort();
    }
    return 0;
}
