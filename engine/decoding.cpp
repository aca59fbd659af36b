#include "engine/decoding.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/encoding.h"

namespace {

constexpr std::int8_t NOT_BASE64 = -1;

struct SBase64Values {
    std::int8_t n[256];
};

// The alphabet's inverse, derived from it so that the two cannot drift apart.
const SBase64Values& Base64Values() {
    static const SBase64Values s_values = [] {
        SBase64Values values{};
        for (std::int8_t& n : values.n) {
            n = NOT_BASE64;
        }
        for (int i = 0; i < 64; ++i) {
            values.n[static_cast<std::uint8_t>(g_szBase64Alphabet[i])] =
                static_cast<std::int8_t>(i);
        }
        return values;
    }();
    return s_values;
}

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    return -1;
}

} // namespace

bool UrlDecode(const CString& strInput, CString& strResult) {
    const std::string& strIn = strInput.str();
    std::string strOut;
    strOut.reserve(strIn.size());
    for (std::size_t i = 0; i < strIn.size(); ++i) {
        const char ch = strIn[i];
        if (ch == '+') {
            strOut += ' ';
        } else if (ch != '%') {
            strOut += ch;
        } else {
            const int nHigh = i + 2 < strIn.size() ? HexValue(strIn[i + 1]) : -1;
            const int nLow = nHigh >= 0 ? HexValue(strIn[i + 2]) : -1;
            if (nLow < 0) {
                return false;
            }
            strOut += static_cast<char>(nHigh * 16 + nLow);
            i += 2;
        }
    }
    strResult = CString(strOut);
    return true;
}

bool Base64Decode(const CString& strText, CByteArray& baResult) {
    const std::string& strIn = strText.str();
    const std::size_t cch = strIn.size();
    if (cch % 4 != 0) {
        return false;
    }
    std::size_t nPad = 0;
    if (cch > 0 && strIn[cch - 1] == g_chBase64Pad) {
        nPad = strIn[cch - 2] == g_chBase64Pad ? 2 : 1;
    }
    const SBase64Values& values = Base64Values();
    CByteArray baDecoded;
    baDecoded.SetSize(static_cast<std::ptrdiff_t>(cch / 4 * 3 - nPad));
    std::uint8_t* pbOut = baDecoded.GetData();
    std::uint32_t dwBits = 0;
    int nBits = 0;
    for (std::size_t i = 0; i < cch - nPad; ++i) {
        const std::int8_t nValue = values.n[static_cast<std::uint8_t>(strIn[i])];
        if (nValue == NOT_BASE64) {
            return false;
        }
        dwBits = (dwBits << 6) | static_cast<std::uint32_t>(nValue);
        nBits += 6;
        if (nBits >= 8) {
            nBits -= 8;
            *pbOut++ = static_cast<std::uint8_t>(dwBits >> nBits);
            dwBits &= (1u << nBits) - 1;
        }
    }
    // The bits left over after the last whole byte must be zero: another text for the same
    // bytes would pass as well.
    if (dwBits != 0) {
        return false;
    }
    baResult.Copy(baDecoded);
    return true;
}
