#include "tools/kestrow_sign/wide_text.h"

#include "framework/unicode.h"

bool WideToUtf8(const wchar_t* pch, std::size_t nLength, std::string& str) {
    const std::size_t nBytes = Utf8LengthOfUtf16(pch, nLength);
    if (nBytes == kNotUnicode) {
        return false;
    }
    std::string strOut(nBytes, '\0');
    Utf16ToUtf8(pch, nLength, strOut.data());
    str.swap(strOut);
    return true;
}

bool Utf8ToWide(const std::string& str, std::wstring& wstr) {
    const std::size_t nUnits = Utf16LengthOfUtf8(str.data(), str.size());
    if (nUnits == kNotUnicode) {
        return false;
    }
    std::wstring wstrOut(nUnits, L'\0');
    Utf8ToUtf16(str.data(), str.size(), wstrOut.data());
    wstr.swap(wstrOut);
    return true;
}
