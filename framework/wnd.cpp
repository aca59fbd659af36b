// CWnd: binding objects to windows, the window procedure, message dispatch through the
// map with reflection to child controls, and the thin wrappers of USER calls.

#include "framework/wnd.h"

#include "framework/data_exchange.h"
#include "framework/exceptions.h"
#include "framework/gdi.h"
#include "framework/menu.h"
#include "framework/message_map_thunks.h"
#include "framework/thread_state.h"
#include "framework/wide_text.h"
#include "framework/win_app.h"

namespace {

bool IsCtlColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// Keeps the thread's "current message" and window-procedure depth for one call.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
        : m_state(AfxGetThreadState()), m_saved(m_state.msgCur) {
        m_state.msgCur.hwnd = hWnd;
        m_state.msgCur.message = message;
        m_state.msgCur.wParam = wParam;
        m_state.msgCur.lParam = lParam;
        ++m_state.nWndProcDepth;
    }
    ~CurrentMessageScope() {
        --m_state.nWndProcDepth;
        m_state.msgCur = m_saved;
    }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    AfxThreadState& m_state;
    MSG m_saved;
};

} // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd != nullptr && AfxLookupPermanent(m_hWnd) == this) {
        if (m_bCreated && ::IsWindow(m_hWnd)) {
            ::DestroyWindow(m_hWnd); // WM_NCDESTROY unbinds
        }
        if (m_hWnd != nullptr) {
            UnsubclassWindow();
        }
    }
    m_hWnd = nullptr;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return AfxLookupPermanent(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (CWnd* pWnd = AfxLookupPermanent(hWnd)) {
        return pWnd;
    }
    std::unique_ptr<CWnd>& pTemp = AfxGetThreadState().tempWnds[hWnd];
    if (!pTemp) {
        pTemp = std::make_unique<CWnd>();
        pTemp->m_hWnd = hWnd;
    }
    return pTemp.get();
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == nullptr || m_hWnd != nullptr || !AfxMapPermanent(hWndNew, this)) {
        return FALSE;
    }
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        AfxUnmapPermanent(hWnd, this);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    m_bCreated = false;
    return hWnd;
}

BOOL CWnd::BindWindow(HWND hWnd, bool bCreated) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) {
        return FALSE;
    }
    m_bCreated = bCreated;
    try {
        PreSubclassWindow();
    } catch (...) {
        Detach();
        throw;
    }
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    if (pfnOld == nullptr) { // not a window of this process
        Detach();
        return FALSE;
    }
    m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    return BindWindow(hWnd, false);
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr || pParent->m_hWnd == nullptr) {
        return FALSE;
    }
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    if (m_pfnSuper != nullptr && ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) ==
                                     reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    return Detach();
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    HWND hWnd = ::CreateWindowExW(dwExStyle, CWideText(lpszClassName), CWideText(lpszWindowName),
                                  dwStyle, x, y, nWidth, nHeight, hWndParent, nIDorHMenu,
                                  AfxGetInstanceHandle(), lpParam);
    if (hWnd == nullptr) {
        return FALSE;
    }
    if (!BindWindow(hWnd, true)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    HWND hWnd = m_hWnd;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (bResult && m_hWnd == hWnd && AfxLookupPermanent(hWnd) != this) {
        m_hWnd = nullptr; // a temporary wrapper sees no WM_NCDESTROY
    }
    return bResult;
}

void CWnd::PreSubclassWindow() {
}

void CWnd::PostNcDestroy() {
}

void CWnd::OnFinalDestroy() {
    UnsubclassWindow();
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
    }
    PostNcDestroy();
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = AfxLookupPermanent(hWnd);
    if (pWnd == nullptr) {
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    CurrentMessageScope scope(hWnd, message, wParam, lParam);
    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        lResult = AfxProcessWndProcException(hWnd, message);
    }
    if (message == WM_NCDESTROY && AfxLookupPermanent(hWnd) == pWnd) {
        pWnd->OnFinalDestroy();
    }
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) {
        lResult = DefWindowProc(message, wParam, lParam);
    }
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (IsCtlColorMessage(message)) {
        HWND hCtl = reinterpret_cast<HWND>(lParam);
        CWnd* pChild = AfxLookupPermanent(hCtl);
        if (pChild != nullptr && pChild != this &&
            pChild->OnChildNotify(message, wParam, lParam, pResult)) {
            return TRUE;
        }
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_CTLCOLOR, 0, 0);
        if (pEntry == nullptr) {
            return FALSE;
        }
        AFX_CTLCOLOR ctl{hCtl, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        return pEntry->pfnThunk(this, wParam, reinterpret_cast<LPARAM>(&ctl), pResult);
    }
    UINT nCode = message == WM_REFLECT_BASE + WM_COMMAND ? HIWORD(wParam) : 0;
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, nCode, 0);
    if (pEntry == nullptr) {
        return FALSE;
    }
    return pEntry->pfnThunk(this, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hCtl = reinterpret_cast<HWND>(lParam);
    if (hCtl != nullptr) {
        CWnd* pChild = AfxLookupPermanent(hCtl);
        LRESULT lResult = 0;
        if (pChild != nullptr && pChild != this &&
            pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &lResult)) {
            return TRUE;
        }
    } else if (nCode == 1) {
        nCode = 0; // accelerators route like menu commands
    }
    return OnCmdMsg(nID, nCode);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        return OnWndMsg(WM_REFLECT_BASE + WM_COMMAND, wParam, lParam, pResult);
    }
    if (IsCtlColorMessage(message)) {
        AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
    }
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetThreadState().msgCur;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = GetStyle();
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle) {
        return FALSE;
    }
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

BOOL CWnd::GetWindowText(CString& rString) const {
    return AfxGetWindowText(m_hWnd, rString);
}

void CWnd::SetWindowText(LPCSTR lpszString) {
    ::SetWindowTextW(m_hWnd, CWideText(lpszString));
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    HWND hWndInsertAfter = pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : HWND_TOP;
    return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    HGDIOBJ hFont = pFont != nullptr ? pFont->m_hObject : nullptr;
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
}

CFont* CWnd::GetFont() const {
    auto hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    return hFont != nullptr ? CFont::FromHandle(hFont) : nullptr;
}

CDC* CWnd::GetDC() {
    HDC hDC = ::GetDC(m_hWnd);
    return hDC != nullptr ? CDC::FromHandle(hDC) : nullptr;
}

int CWnd::ReleaseDC(CDC* pDC) {
    return pDC != nullptr ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

BOOL CWnd::UpdateWindow() {
    return ::UpdateWindow(m_hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    return hMenu != nullptr ? CMenu::FromHandle(hMenu) : nullptr;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    CString strCaption = lpszCaption != nullptr ? CString(lpszCaption) : AfxGetAppName();
    return ::MessageBoxW(m_hWnd, CWideText(lpszText), CWideText(strCaption), nType);
}

void CWnd::DoDataExchange(CDataExchange*) {
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate, CString* pstrRefusal) {
    CDataExchange dx(this, bSaveAndValidate, pstrRefusal);
    return AfxRunExchange(dx, [this](CDataExchange* pDX) { DoDataExchange(pDX); });
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDestroy() {
    Default();
}
