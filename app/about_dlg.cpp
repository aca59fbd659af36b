#include "app/about_dlg.h"

#include "app/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOME_LINK, m_ctlHomeLink);
}

// OK, Escape and the close command are the framework's default handling.
BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_MESSAGE(WM_DPICHANGED, &CAboutDlg::OnDpiChanged)
END_MESSAGE_MAP()

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowIcon();
    return TRUE;
}

// The template's icon control shows the system's size; this is the display's size.
void CAboutDlg::ShowIcon() {
    m_icons.LoadFor(m_hWnd);
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            ::SendMessageW(hChild, STM_SETICON, reinterpret_cast<WPARAM>(m_icons.m_hLarge), 0);
        }
    }
}

LRESULT CAboutDlg::OnDpiChanged(WPARAM, LPARAM) {
    ShowIcon();
    return Default();
}
