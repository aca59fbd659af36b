// CHyperLink for the keyboard: the focus rectangle, Enter and Space, and the context
// menu that opens the link or copies its address.

#include "controls/hyperlink.h"

namespace {

enum : UINT { IDM_OPEN_LINK = 1, IDM_COPY_LINK_ADDRESS = 2 };

// Whether the key is one that opens the link. As characters they are '\r' and ' ',
// which have the same codes.
bool IsOpenKey(WPARAM wKey) {
    return wKey == VK_RETURN || wKey == VK_SPACE;
}

} // namespace

void CHyperLink::OnPaint() {
    CPaintDC dc(this);
    // The static control draws its text into our paint DC; the rectangle goes on top.
    DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.m_hDC), PRF_CLIENT);
    if (::GetFocus() == m_hWnd && !m_bFocusCuesHidden) {
        CRect rcClient;
        GetClientRect(&rcClient);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkColor(RGB(255, 255, 255));
        ::DrawFocusRect(dc, &rcClient);
    }
}

LRESULT CHyperLink::OnFocusChanged(WPARAM, LPARAM) {
    const LRESULT lResult = Default();
    InvalidateRect(nullptr, TRUE);
    return lResult;
}

// The control keeps the state itself: not every system answers WM_QUERYUISTATE.
LRESULT CHyperLink::OnUpdateUiState(WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = OnFocusChanged(wParam, lParam);
    if ((HIWORD(wParam) & UISF_HIDEFOCUS) != 0) {
        // Initialising, the system decides from the last input.
        m_bFocusCuesHidden = LOWORD(wParam) == UIS_INITIALIZE
                                 ? (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0
                                 : LOWORD(wParam) == UIS_SET;
    }
    return lResult;
}

LRESULT CHyperLink::OnGetDlgCode(WPARAM, LPARAM lParam) {
    LRESULT lCode = Default();
    // Asked about a key, say so for the opening keys: the dialog would otherwise press
    // its default button on Enter.
    const auto* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (pMsg != nullptr && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_CHAR) &&
        IsOpenKey(pMsg->wParam)) {
        lCode |= DLGC_WANTMESSAGE;
    }
    return lCode;
}

LRESULT CHyperLink::OnKeyDown(WPARAM wParam, LPARAM lParam) {
    if (!IsOpenKey(wParam)) {
        return Default();
    }
    // A key held down repeats; it opens the link once.
    const bool bRepeat = (lParam & (LPARAM{1} << 30)) != 0;
    if (!bRepeat) {
        OnLinkClicked();
    }
    return 0;
}

LRESULT CHyperLink::OnKeyUp(WPARAM wParam, LPARAM) {
    // The menu key asks for the context menu when it is released; Shift+F10 comes as
    // WM_CONTEXTMENU from the default processing.
    if (wParam != VK_APPS) {
        return Default();
    }
    OnContextMenu(this, CPoint(-1, -1));
    return 0;
}

void CHyperLink::OnContextMenu(CWnd* /*pWnd*/, CPoint pos) {
    // From the keyboard the menu opens under the link, from the mouse at the pointer.
    if (pos.x == -1 && pos.y == -1) {
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        pos = CPoint(rcWnd.left, rcWnd.bottom);
    }
    CMenu menu;
    if (!menu.CreatePopupMenu() || !menu.AppendMenu(MF_STRING, IDM_OPEN_LINK, "&Open link") ||
        !menu.AppendMenu(MF_STRING, IDM_COPY_LINK_ADDRESS, "&Copy link address")) {
        return;
    }
    const UINT nCommand = menu.TrackPopupMenu(
        TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pos.x, pos.y, this);
    if (nCommand == IDM_OPEN_LINK) {
        OnLinkClicked();
    } else if (nCommand == IDM_COPY_LINK_ADDRESS) {
        CopyLinkAddress();
    }
}

BOOL CHyperLink::CopyLinkAddress() {
    if (AfxSetClipboardText(this, m_strLinkUrl)) {
        return TRUE;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
}
