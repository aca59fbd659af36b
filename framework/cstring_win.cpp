// CString on the platform: UTF-16 texts from windows, resources and the system into the
// program's UTF-8, and the string table of the program's module.

#include <cstring>

#include "framework/cstring.h"
#include "framework/wide_text.h"
#include "framework/win_app.h"

BOOL AfxFromWide(LPCWSTR pch, std::size_t nLength, CString& rString) {
    return AfxReadUtf16<wchar_t>(
        nLength,
        [&](wchar_t* pBuffer, std::size_t) {
            std::memcpy(pBuffer, pch, nLength * sizeof(wchar_t));
            return nLength;
        },
        rString);
}

BOOL AfxGetWindowText(HWND hWnd, CString& rString) {
    // Both answer 0, never less, when the window has no text or is gone.
    return AfxReadUtf16<wchar_t>(
        static_cast<std::size_t>(::GetWindowTextLengthW(hWnd)),
        [&](wchar_t* pBuffer, std::size_t nRoom) {
            return static_cast<std::size_t>(
                ::GetWindowTextW(hWnd, pBuffer, static_cast<int>(nRoom)));
        },
        rString);
}

BOOL AfxLoadString(HINSTANCE hInstance, UINT nID, CString& rString) {
    // With no buffer the system answers where the text lies in the resource, and its length.
    LPCWSTR pch = nullptr;
    const int nLength = ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&pch), 0);
    if (nLength <= 0 || pch == nullptr ||
        !AfxFromWide(pch, static_cast<std::size_t>(nLength), rString)) {
        rString.Empty();
        return FALSE;
    }
    return TRUE;
}

int CString::LoadString(unsigned int nID) {
    return AfxLoadString(AfxGetResourceHandle(), nID, *this);
}
