// CString on the platform: texts from the string table of the program's module, and
// their wide-character form.

#include <vector>

#include "framework/cstring.h"
#include "framework/win32.h"
#include "framework/win_app.h"

BOOL AfxLoadString(HINSTANCE hInstance, UINT nID, CString& rString) {
    // A string resource holds at most 65535 characters; in a multibyte code page each
    // may take two bytes.
    const std::size_t nLargest = 2 * 65536;
    std::vector<char> buffer(256);
    for (;;) {
        int nLength = ::LoadStringA(hInstance, nID, buffer.data(), static_cast<int>(buffer.size()));
        if (nLength <= 0) {
            rString.Empty();
            return FALSE;
        }
        if (static_cast<std::size_t>(nLength) + 1 < buffer.size() || buffer.size() >= nLargest) {
            rString = CString(buffer.data(), nLength);
            return TRUE;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int CString::LoadString(unsigned int nID) {
    return AfxLoadString(AfxGetResourceHandle(), nID, *this);
}

std::wstring AfxToWide(const CString& str) {
    const int nLength = str.GetLength();
    std::wstring strWide(
        nLength == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, str, nLength, nullptr, 0), L'\0');
    if (!strWide.empty()) {
        ::MultiByteToWideChar(CP_ACP, 0, str, nLength, strWide.data(),
                              static_cast<int>(strWide.size()));
    }
    return strWide;
}
