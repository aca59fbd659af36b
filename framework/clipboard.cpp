// The clipboard: a text in both of the forms that programs read.

#include "framework/clipboard.h"

#include <cstring>

#include "framework/win_app.h"
#include "framework/wnd.h"

namespace {

// Movable global memory holding cb bytes of pData, as the clipboard wants it.
HGLOBAL GlobalCopy(const void* pData, SIZE_T cb) {
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, cb);
    if (hMem != nullptr) {
        std::memcpy(::GlobalLock(hMem), pData, cb);
        ::GlobalUnlock(hMem);
    }
    return hMem;
}

} // namespace

BOOL AfxSetClipboardText(CWnd* pOwner, const CString& strText) {
    // Both forms are made before the clipboard is touched, so a failure changes nothing.
    const std::wstring strWide = AfxToWide(strText);
    HGLOBAL hAnsi = GlobalCopy(strText.GetString(), strText.str().size() + 1);
    HGLOBAL hWide = GlobalCopy(strWide.c_str(), (strWide.size() + 1) * sizeof(WCHAR));
    HWND hOwner = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    if (hAnsi == nullptr || hWide == nullptr || !::OpenClipboard(hOwner)) {
        ::GlobalFree(hAnsi);
        ::GlobalFree(hWide);
        return FALSE;
    }
    ::EmptyClipboard();
    // The clipboard owns what it accepted; what it refused is still ours.
    if (::SetClipboardData(CF_TEXT, hAnsi) == nullptr) {
        ::GlobalFree(hAnsi);
    }
    if (::SetClipboardData(CF_UNICODETEXT, hWide) == nullptr) {
        ::GlobalFree(hWide);
    }
    ::CloseClipboard();
    return TRUE;
}
