// The clipboard: a text as Unicode, from which the system makes the other text forms for
// programs that ask for them.

#include "framework/clipboard.h"

#include <cstring>

#include "framework/wide_text.h"
#include "framework/wnd.h"

BOOL AfxSetClipboardText(CWnd* pOwner, const CString& strText) {
    // Made before the clipboard is touched, so a failure changes nothing.
    const CWideText strWide(strText);
    const SIZE_T cb = (strWide.GetLength() + 1) * sizeof(WCHAR);
    HGLOBAL hWide = ::GlobalAlloc(GMEM_MOVEABLE, cb);
    if (hWide != nullptr) {
        std::memcpy(::GlobalLock(hWide), strWide.GetString(), cb);
        ::GlobalUnlock(hWide);
    }
    HWND hOwner = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    if (hWide == nullptr || !::OpenClipboard(hOwner)) {
        ::GlobalFree(hWide);
        return FALSE;
    }
    ::EmptyClipboard();
    // The clipboard owns what it accepted; what it refused is still ours.
    if (::SetClipboardData(CF_UNICODETEXT, hWide) == nullptr) {
        ::GlobalFree(hWide);
    }
    ::CloseClipboard();
    return TRUE;
}
