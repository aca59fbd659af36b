// The UTF-8 and UTF-16 converters against glibc's iconv, which is strict in the same way:
// the input read once as UTF-8 and once as UTF-16 (little-endian pairs of bytes), each
// refused by both or converted by both to the same text, which converts back to the input.

#include <iconv.h>

#include <cstdlib>
#include <string>

#include "framework/unicode.h"

namespace {

// False for input iconv refuses; EINVAL (cut short) counts as refused too.
bool IconvConvert(const char* pszFrom, const char* pszTo, std::string strIn, std::string& strOut) {
    const iconv_t cd = iconv_open(pszTo, pszFrom);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::abort();
    }
    strOut.assign(strIn.size() * 2 + 4, '\0');
    char* pIn = strIn.data();
    std::size_t cbIn = strIn.size();
    char* pOut = strOut.data();
    std::size_t cbOut = strOut.size();
    const bool bOk = iconv(cd, &pIn, &cbIn, &pOut, &cbOut) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    strOut.resize(strOut.size() - cbOut);
    return bOk;
}

std::u16string FromLittleEndian(const std::string& strBytes) {
    std::u16string str(strBytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < str.size(); ++i) {
        str[i] = static_cast<char16_t>(static_cast<unsigned char>(strBytes[2 * i]) |
                                       static_cast<unsigned char>(strBytes[2 * i + 1]) << 8);
    }
    return str;
}

void CheckUtf8(const std::string& strBytes) {
    std::string strTheirs;
    const bool bTheirs = IconvConvert("UTF-8", "UTF-16LE", strBytes, strTheirs);
    const std::size_t nUnits = Utf16LengthOfUtf8(strBytes.data(), strBytes.size());
    if ((nUnits != kNotUnicode) != bTheirs ||
        (FindNonUtf8(strBytes.data(), strBytes.size()) == kNotUnicode) != bTheirs) {
        std::abort();
    }
    if (!bTheirs) {
        return;
    }
    std::u16string strOurs(nUnits, u'\0');
    Utf8ToUtf16(strBytes.data(), strBytes.size(), strOurs.data());
    std::string strBack(Utf8LengthOfUtf16(strOurs.data(), strOurs.size()), '\0');
    Utf16ToUtf8(strOurs.data(), strOurs.size(), strBack.data());
    if (strOurs != FromLittleEndian(strTheirs) || strBack != strBytes) {
        std::abort();
    }
}

void CheckUtf16(const std::string& strBytes) {
    const std::string strEven = strBytes.substr(0, strBytes.size() & ~std::size_t{1});
    const std::u16string strWide = FromLittleEndian(strEven);
    std::string strTheirs;
    const bool bTheirs = IconvConvert("UTF-16LE", "UTF-8", strEven, strTheirs);
    const std::size_t nBytes = Utf8LengthOfUtf16(strWide.data(), strWide.size());
    if ((nBytes != kNotUnicode) != bTheirs) {
        std::abort();
    }
    if (!bTheirs) {
        return;
    }
    std::string strOurs(nBytes, '\0');
    Utf16ToUtf8(strWide.data(), strWide.size(), strOurs.data());
    if (strOurs != strTheirs) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    const std::string strBytes(reinterpret_cast<const char*>(pbData), cbData);
    CheckUtf8(strBytes);
    CheckUtf16(strBytes);
    return 0;
}
