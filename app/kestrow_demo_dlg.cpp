#include "app/kestrow_demo_dlg.h"

#include <shellapi.h>

#include "app/about_dlg.h"
#include "app/check_request_dlg.h"
#include "app/icon_position.h"
#include "app/resource.h"
#include "app/sample_request.h"

namespace {

const char kNoticeText[] =
    "You have selected to leave the \"Access Key ID\" field empty, this gives you better "
    "privacy.\nHowever the generated sample URL is not complete until you fill-in your "
    "Access Key ID in the place indicated by %key%.";

} // namespace

CKestrowDemoDlg::CKestrowDemoDlg(CWnd* pParent) : CDialog(IDD_KESTROWDEMO_DIALOG, pParent) {
    // Wiped whenever the field is read again and when the dialog ends.
    m_strSecretKey.MarkSecret();
}

CKestrowDemoDlg::~CKestrowDemoDlg() = default;

void CKestrowDemoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOME_LINK, m_ctlHomeLink);
    DDX_Text(pDX, IDC_PREFIX, m_strServicePrefix);
    DDX_Text(pDX, IDC_SECRET_KEY, m_strSecretKey);
    DDX_Text(pDX, IDC_SIGNATURE, m_strGeneratedSignature);
    DDX_Text(pDX, IDC_TIMESTAMP, m_strGeneratedTimestamp);
    DDX_Text(pDX, IDC_SAMPLE_URL, m_strSampleUrl);
    DDX_Text(pDX, IDC_ACCESS_KEY_ID, m_strAccessKeyId);
}

BEGIN_MESSAGE_MAP(CKestrowDemoDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_MESSAGE(WM_DPICHANGED, &CKestrowDemoDlg::OnDpiChanged)
ON_BN_CLICKED(IDC_GENERATE, &CKestrowDemoDlg::OnBnClickedGenerate)
ON_BN_CLICKED(IDC_TEST_URL, &CKestrowDemoDlg::OnBnClickedTestUrl)
ON_BN_CLICKED(IDC_CHECK, &CKestrowDemoDlg::OnBnClickedCheck)
END_MESSAGE_MAP()

BOOL CKestrowDemoDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE);
    CMenu* pSysMenu = hSysMenu != nullptr ? CMenu::FromHandle(hSysMenu) : nullptr;
    if (pSysMenu != nullptr) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR, 0, nullptr);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    ShowIcons();

    m_strServicePrefix = "UrlInfo";
    UpdateData(FALSE);
    return TRUE;
}

void CKestrowDemoDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
    // The four low bits of a system command are the system's own.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CKestrowDemoDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        dc.DrawIcon(CenteredIconOffset(rect.Width(), cxIcon),
                    CenteredIconOffset(rect.Height(), cyIcon), m_icons.m_hLarge);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CKestrowDemoDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_icons.m_hLarge);
}

// Caption, taskbar and minimised icons at the sizes of the display the dialog is on.
void CKestrowDemoDlg::ShowIcons() {
    m_icons.LoadFor(m_hWnd);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icons.m_hLarge));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icons.m_hSmall));
}

// The dialog moved to a display of another resolution; the system scales the dialog.
LRESULT CKestrowDemoDlg::OnDpiChanged(WPARAM, LPARAM) {
    ShowIcons();
    return Default();
}

void CKestrowDemoDlg::OnBnClickedGenerate() {
    if (!UpdateData(TRUE)) {
        return;
    }
    const bool bComplete =
        ComposeSampleRequest(m_strSecretKey, m_strAccessKeyId, m_strServicePrefix,
                             m_strGeneratedTimestamp, m_strGeneratedSignature, m_strSampleUrl);
    if (!bComplete) {
        MessageBox(kNoticeText, "Notice", MB_OK);
    }
    GetDlgItem(IDC_TEST_URL)->EnableWindow(bComplete);
    UpdateData(FALSE);
}

void CKestrowDemoDlg::OnBnClickedTestUrl() {
    // The URL of the last Generate, whatever the fields show now; failures are silent.
    ::ShellExecuteW(nullptr, nullptr, CWideText(m_strSampleUrl), nullptr, nullptr, SW_SHOW);
}

// The check reads the key and the prefix from their fields itself; nothing here changes.
void CKestrowDemoDlg::OnBnClickedCheck() {
    CCheckRequestDlg dlgCheck(this, IDC_SECRET_KEY, IDC_PREFIX);
    dlgCheck.DoModal();
}
