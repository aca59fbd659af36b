// CDialog: creation from a template resource, binding the dialog window to its object,
// and the framework's own modal loop.

#include "framework/dialog.h"

#include <algorithm>

#include "framework/exceptions.h"
#include "framework/message_map_thunks.h"
#include "framework/thread_state.h"
#include "framework/win_app.h"

namespace {
// The dialog whose window is being created on this thread; its first message binds it.
thread_local CDialog* t_pDialogInit = nullptr;
} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {
}

CDialog::~CDialog() = default;

INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    CWnd* pWnd = AfxLookupPermanent(hWnd);
    if (pWnd == nullptr) {
        CDialog* pInit = t_pDialogInit;
        if (pInit == nullptr && message == WM_INITDIALOG) {
            pInit = reinterpret_cast<CDialog*>(lParam);
        }
        if (pInit == nullptr || pInit->m_hWnd != nullptr) {
            return FALSE;
        }
        t_pDialogInit = nullptr;
        try {
            if (!pInit->BindWindow(hWnd, true)) {
                return FALSE;
            }
        } catch (...) {
            AfxProcessWndProcException(hWnd, message);
            return FALSE;
        }
        pWnd = pInit;
    }
    if (message != WM_INITDIALOG) {
        return FALSE;
    }
    auto* pDialog = dynamic_cast<CDialog*>(pWnd);
    if (pDialog == nullptr) {
        return FALSE;
    }
    const DWORD dwStyleBefore = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    RECT rcBefore{};
    ::GetWindowRect(hWnd, &rcBefore);
    BOOL bResult = TRUE;
    try {
        bResult = pDialog->OnInitDialog();
    } catch (...) {
        AfxProcessWndProcException(hWnd, message);
    }
    CenterIfUnplaced(hWnd, dwStyleBefore, rcBefore);
    return bResult;
}

// A dialog that starts hidden and that its initialisation did not place lands at its
// template position, usually the corner of the screen; centre it over its owner (or the
// work area) instead, as users of framework dialogs expect.
void CDialog::CenterIfUnplaced(HWND hWnd, DWORD dwStyleBefore, const RECT& rcBefore) {
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    RECT rcWindow{};
    ::GetWindowRect(hWnd, &rcWindow);
    if ((dwStyleBefore & WS_VISIBLE) != 0 || (dwStyle & (WS_VISIBLE | WS_CHILD)) != 0 ||
        !::EqualRect(&rcWindow, &rcBefore)) {
        return;
    }
    RECT rcWork{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    RECT rcAround = rcWork;
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &rcAround);
    }
    const int nWidth = rcWindow.right - rcWindow.left;
    const int nHeight = rcWindow.bottom - rcWindow.top;
    int x = (rcAround.left + rcAround.right - nWidth) / 2;
    int y = (rcAround.top + rcAround.bottom - nHeight) / 2;
    // Keep it on the work area, its top-left corner above all.
    x = std::max(static_cast<int>(rcWork.left),
                 std::min(x, static_cast<int>(rcWork.right) - nWidth));
    y = std::max(static_cast<int>(rcWork.top),
                 std::min(y, static_cast<int>(rcWork.bottom) - nHeight));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CDialog::CreateFromTemplate(HWND hWndOwner) {
    HINSTANCE hInstance =
        AfxFindResourceHandle(MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    CDialog* pPrevious = t_pDialogInit;
    t_pDialogInit = this;
    // A dialog made by the wide call is a Unicode window, and so are its controls.
    HWND hWnd = ::CreateDialogParamW(hInstance, MAKEINTRESOURCEW(m_nIDTemplate), hWndOwner,
                                     &CDialog::AfxDlgProc, reinterpret_cast<LPARAM>(this));
    t_pDialogInit = pPrevious;
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (m_hWnd != hWnd) { // the dialog procedure never saw a message
        ::DestroyWindow(hWnd);
        return nullptr;
    }
    return hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr) != nullptr;
}

// The owner of a modal dialog: the top-level window of the given parent; without one,
// the window the main window last activated (a modal dialog nested over it).
static HWND FindModalOwner(const CWnd* pParentWnd, const CWnd* pDialog) {
    if (pParentWnd != nullptr && pParentWnd->m_hWnd != nullptr) {
        return ::GetAncestor(pParentWnd->m_hWnd, GA_ROOT);
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd == pDialog || pMainWnd->m_hWnd == nullptr ||
        !::IsWindow(pMainWnd->m_hWnd)) {
        return nullptr;
    }
    return ::GetLastActivePopup(::GetAncestor(pMainWnd->m_hWnd, GA_ROOT));
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) {
        return -1;
    }
    HWND hWndOwner = FindModalOwner(m_pParentWnd, this);
    bool bEnableOwner = false;
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        bEnableOwner = true;
    }

    m_nModalResult = -1;
    m_bModalRunning = true;
    HWND hWnd = CreateFromTemplate(hWndOwner);
    if (hWnd != nullptr && m_bModalRunning) { // OnInitDialog may have ended it already
        if (!::IsWindowVisible(hWnd)) {
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        }
        RunModalLoop();
    }
    m_bModalRunning = false;

    if (hWnd != nullptr && ::IsWindow(hWnd)) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (bEnableOwner) {
        ::EnableWindow(hWndOwner, TRUE);
    }
    if (hWndOwner != nullptr && ::GetActiveWindow() == hWnd) {
        ::SetActiveWindow(hWndOwner);
    }
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
    return m_nModalResult;
}

BOOL CDialog::RunModalLoop() {
    MSG msg;
    while (m_bModalRunning) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            AfxDeleteTempMaps();
        }
        BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bResult == -1) {
            break;
        }
        if (bResult == 0) { // WM_QUIT ends the dialog; the outer loop gets it again
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslateModal(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return !m_bModalRunning;
}

BOOL CDialog::PreTranslateModal(MSG* pMsg) {
    try {
        for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
            CWnd* pWnd = AfxLookupPermanent(hWnd);
            if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) {
                return TRUE;
            }
            if (hWnd == m_hWnd) {
                break;
            }
        }
    } catch (...) {
        AfxProcessWndProcException(pMsg->hwnd, pMsg->message);
        return FALSE;
    }
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::EndDialog(int nResult) {
    if (m_bModalRunning) {
        m_nModalResult = nResult;
        m_bModalRunning = false;
        if (m_hWnd != nullptr) {
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the loop
        }
    } else if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode) {
    if (CWnd::OnCmdMsg(nID, nCode)) {
        return TRUE;
    }
    // Application commands (ids 0x8000 to 0xEFFF) not handled here go to the application.
    CWinApp* pApp = AfxGetApp();
    if (nCode == 0 && nID >= 0x8000 && nID < 0xF000 && pApp != nullptr) {
        return pApp->OnCmdMsg(nID, nCode);
    }
    return FALSE;
}

BOOL CDialog::DestroyWindow() {
    return CWnd::DestroyWindow();
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
