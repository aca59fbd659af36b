#include "controls/hyperlink.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr UINT kHoverPollMs = 100;
constexpr UINT_PTR kToolId = 1;
// Cursor resource of the Windows help program that shows a pointing hand.
constexpr WORD kHelpHandCursorId = 106;

} // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_CONTROL_REFLECT(STN_CLICKED, &CHyperLink::OnLinkClicked)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SETFONT, &CHyperLink::OnSetFont)
ON_WM_PAINT()
ON_MESSAGE(WM_SETFOCUS, &CHyperLink::OnFocusChanged)
ON_MESSAGE(WM_KILLFOCUS, &CHyperLink::OnFocusChanged)
ON_MESSAGE(WM_UPDATEUISTATE, &CHyperLink::OnUpdateUiState)
ON_MESSAGE(WM_GETDLGCODE, &CHyperLink::OnGetDlgCode)
ON_MESSAGE(WM_KEYDOWN, &CHyperLink::OnKeyDown)
ON_MESSAGE(WM_KEYUP, &CHyperLink::OnKeyUp)
ON_WM_CONTEXTMENU()
ON_MESSAGE(WM_GETOBJECT, &CHyperLink::OnGetObject)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
    : m_clrLink(RGB(0, 0, 238)), m_clrVisited(RGB(85, 26, 139)), m_clrHover(RGB(255, 0, 0)),
      m_bHovering(FALSE), m_bLinkVisited(FALSE), m_nUnderlineMode(UnderlineOnHover),
      m_bFitToText(TRUE), m_hHandCursor(nullptr), m_nHoverTimerId(100), m_pAccessible(nullptr),
      m_bFocusCuesHidden(FALSE) {
}

CHyperLink::~CHyperLink() {
    ReleaseAccessibleObject();
    m_fontUnderlined.DeleteObject();
    if (m_hHandCursor != nullptr) {
        ::DestroyCursor(m_hHandCursor);
        m_hHandCursor = nullptr;
    }
}

void CHyperLink::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY | WS_TABSTOP);
    m_bFocusCuesHidden = (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0;

    if (m_strLinkUrl.IsEmpty()) {
        GetWindowText(m_strLinkUrl);
    }
    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty()) {
        SetWindowText(m_strLinkUrl);
    }

    HGDIOBJ hSourceFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (hSourceFont == nullptr) {
        hSourceFont = ::GetStockObject(DEFAULT_GUI_FONT);
    }
    if (hSourceFont == nullptr) {
        hSourceFont = ::GetStockObject(ANSI_VAR_FONT);
    }
    CopyFonts(hSourceFont, m_fontNormal, m_fontUnderlined);

    FitToText();
    LoadHandCursor();
    SetUnderlineMode(UnderlineOnHover);

    CRect rcClient;
    GetClientRect(&rcClient);
    m_tipCtrl.Create(this, 0);
    m_tipCtrl.AddTool(this, m_strLinkUrl, &rcClient, kToolId);

    CStatic::PreSubclassWindow();
}

BOOL CHyperLink::DestroyWindow() {
    KillTimer(m_nHoverTimerId);
    return CStatic::DestroyWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg) {
    if (m_tipCtrl.m_hWnd != nullptr) {
        ::SendMessageW(m_tipCtrl.m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CHyperLink::FitToText() {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || !m_bFitToText) {
        return;
    }

    CRect rcWnd;
    GetWindowRect(&rcWnd);
    CRect rcClient;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    if (CWnd* pParent = GetParent()) {
        pParent->ScreenToClient(&rcWnd);
        pParent->ScreenToClient(&rcClient);
    }

    CString strText;
    GetWindowText(strText);
    CDC* pDC = GetDC();
    if (pDC == nullptr) {
        return;
    }
    // Without a font of our own the device context's default font measures.
    CFont* pOldFont = nullptr;
    if (m_fontUnderlined.GetSafeHandle() != nullptr) {
        pOldFont = pDC->SelectObject(&m_fontUnderlined);
    }
    const CSize sizeText = pDC->GetTextExtent(strText);
    if (pOldFont != nullptr) {
        pDC->SelectObject(pOldFont);
    }
    ReleaseDC(pDC);

    const int nNeededWidth = sizeText.cx + (rcWnd.Width() - rcClient.Width());
    const int nNeededHeight = sizeText.cy + (rcWnd.Height() - rcClient.Height());

    const DWORD dwStyle = GetStyle();
    if (dwStyle & SS_CENTERIMAGE) {
        const int d = (rcWnd.Height() - nNeededHeight) / 2;
        rcWnd.top += d;
        rcWnd.bottom -= d;
    } else {
        rcWnd.bottom = rcWnd.top + nNeededHeight;
    }
    if (dwStyle & SS_CENTER) {
        const int d = (rcWnd.Width() - nNeededWidth) / 2;
        rcWnd.left += d;
        rcWnd.right -= d;
    } else if (dwStyle & SS_RIGHT) {
        rcWnd.left = rcWnd.right - nNeededWidth;
    } else {
        rcWnd.right = rcWnd.left + nNeededWidth;
    }

    SetWindowPos(nullptr, rcWnd.left, rcWnd.top, rcWnd.Width(), rcWnd.Height(), SWP_NOZORDER);
}

void CHyperLink::LoadHandCursor() {
    if (m_hHandCursor != nullptr) {
        return;
    }

    WCHAR szHelpProgram[MAX_PATH];
    const UINT cchDir = ::GetWindowsDirectoryW(szHelpProgram, MAX_PATH);
    const WCHAR szName[] = L"\\winhlp32.exe";
    // A result of MAX_PATH or more is the size the directory would need.
    if (cchDir > 0 && cchDir + std::size(szName) <= MAX_PATH) {
        std::copy(std::begin(szName), std::end(szName), szHelpProgram + cchDir);
        // Only its resources are wanted: mapped as an image, none of its code runs.
        if (HMODULE hModule =
                ::LoadLibraryExW(szHelpProgram, nullptr,
                                 LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR hCursor = ::LoadCursorW(hModule, MAKEINTRESOURCEW(kHelpHandCursorId))) {
                m_hHandCursor = static_cast<HCURSOR>(::CopyIcon(hCursor));
            }
            ::FreeLibrary(hModule);
        }
    }

    // Current systems ship no help program with that cursor; the system has its own.
    if (m_hHandCursor == nullptr) {
        if (HCURSOR hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */)) {
            m_hHandCursor = static_cast<HCURSOR>(::CopyIcon(hCursor));
        }
    }
}

void CHyperLink::SetUnderlineMode(int nMode) {
    if (nMode == m_nUnderlineMode) {
        return;
    }
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ShowFont(nMode == UnderlineAlways ? m_fontUnderlined : m_fontNormal);
        InvalidateRect(nullptr, TRUE);
    }
    m_nUnderlineMode = nMode;
}

void CHyperLink::SetLinkVisited(BOOL bVisited) {
    m_bLinkVisited = bVisited;
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        InvalidateRect(nullptr, TRUE);
    }
}

BOOL CHyperLink::CopyFonts(HGDIOBJ hSourceFont, CFont& normal, CFont& underlined) {
    LOGFONTW lf{};
    if (hSourceFont == nullptr || ::GetObjectW(hSourceFont, sizeof(lf), &lf) != sizeof(lf)) {
        return FALSE;
    }
    CFont fontNormal, fontUnderlined;
    lf.lfUnderline = 0;
    if (!fontNormal.CreateFontIndirect(&lf)) {
        return FALSE;
    }
    lf.lfUnderline = 1;
    if (!fontUnderlined.CreateFontIndirect(&lf)) {
        return FALSE;
    }
    normal.DeleteObject();
    normal.Attach(fontNormal.Detach());
    underlined.DeleteObject();
    underlined.Attach(fontUnderlined.Detach());
    return TRUE;
}

LRESULT CHyperLink::OnSetFont(WPARAM wParam, LPARAM /*lParam*/) {
    const HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(wParam);
    // Our own fonts come through here whenever hovering switches between them.
    if (hFont == nullptr || hFont == m_fontNormal.GetSafeHandle() ||
        hFont == m_fontUnderlined.GetSafeHandle()) {
        return Default();
    }
    const bool bUnderlined = m_nUnderlineMode == UnderlineAlways ||
                             (m_nUnderlineMode == UnderlineOnHover && m_bHovering);
    Default(); // the control draws in the new font from now on
    // The old fonts live until the control no longer draws with them.
    CFont fontNormal, fontUnderlined;
    if (!CopyFonts(hFont, fontNormal, fontUnderlined)) {
        return 0;
    }
    const HGDIOBJ hOldNormal = m_fontNormal.Detach(), hOldUnderlined = m_fontUnderlined.Detach();
    m_fontNormal.Attach(fontNormal.Detach());
    m_fontUnderlined.Attach(fontUnderlined.Detach());
    if (bUnderlined) {
        ShowFont(m_fontUnderlined);
    }
    ::DeleteObject(hOldNormal);
    ::DeleteObject(hOldUnderlined);

    FitToText();
    CRect rcClient;
    GetClientRect(&rcClient);
    m_tipCtrl.SetToolRect(this, kToolId, &rcClient);
    InvalidateRect(nullptr, TRUE);
    return 0;
}

void CHyperLink::ShowFont(CFont& font) {
    if (font.GetSafeHandle() != nullptr) {
        SetFont(&font, TRUE);
    }
}

HBRUSH CHyperLink::CtlColor(CDC* pDC, UINT /*nCtlColor*/) {
    COLORREF clrText = m_clrLink;
    if (m_bHovering) {
        clrText = m_clrHover;
    } else if (m_bLinkVisited) {
        clrText = m_clrVisited;
    }
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    // The background is laid down by OnEraseBkgnd; the control draws only its text.
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/) {
    if (m_hHandCursor == nullptr) {
        return FALSE;
    }
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

// Entering is seen on the first mouse move; leaving by polling, as the control
// neither captures the mouse nor asks for leave notifications.
void CHyperLink::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {
    if (!m_bHovering) {
        m_bHovering = TRUE;
        if (m_nUnderlineMode == UnderlineOnHover) {
            ShowFont(m_fontUnderlined);
        }
        InvalidateRect(nullptr, TRUE);
        SetTimer(m_nHoverTimerId, kHoverPollMs);
    }
    Default();
}

void CHyperLink::OnTimer(UINT_PTR /*nIDEvent*/) {
    CPoint ptCursor(static_cast<LPARAM>(::GetMessagePos()));
    ScreenToClient(&ptCursor);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(ptCursor)) {
        m_bHovering = FALSE;
        KillTimer(m_nHoverTimerId);
        if (m_nUnderlineMode != UnderlineAlways) {
            ShowFont(m_fontNormal);
        }
        rcClient.bottom += 10;
        InvalidateRect(&rcClient, TRUE);
    }
    Default();
}

BOOL CHyperLink::OnEraseBkgnd(CDC* pDC) {
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}
