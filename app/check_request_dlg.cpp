#include "app/check_request_dlg.h"

#include <ctime>
#include <string>

#include "app/resource.h"
#include "engine/kestrow_verifier.h"

namespace {

const int kInputs[] = {IDC_CHECK_URL, IDC_CHECK_TIMESTAMP, IDC_CHECK_SIGNATURE, IDC_CHECK_PREFIX,
                       IDC_CHECK_MAX_SKEW};

} // namespace

CCheckRequestDlg::CCheckRequestDlg(CWnd* pParent, int nIDSecretKey, int nIDPrefix)
    : CDialog(IDD_CHECK_DIALOG, pParent), m_nIDSecretKey(nIDSecretKey), m_nIDPrefix(nIDPrefix) {
    // Wiped when the dialog ends, as the main dialog's own copy.
    m_strSecretKey.MarkSecret();
    m_fields.strMaxSkew = std::to_string(g_nDefaultMaxSkew);
}

CCheckRequestDlg::~CCheckRequestDlg() = default;

void CCheckRequestDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CHECK_URL, m_fields.strUrl);
    DDX_Text(pDX, IDC_CHECK_TIMESTAMP, m_fields.strTimestamp);
    DDX_Text(pDX, IDC_CHECK_SIGNATURE, m_fields.strSignature);
    DDX_Text(pDX, IDC_CHECK_PREFIX, m_fields.strPrefix);
    DDX_Text(pDX, IDC_CHECK_MAX_SKEW, m_fields.strMaxSkew);
}

BEGIN_MESSAGE_MAP(CCheckRequestDlg, CDialog)
ON_EN_CHANGE(IDC_CHECK_URL, &CCheckRequestDlg::OnFieldChanged)
ON_EN_CHANGE(IDC_CHECK_TIMESTAMP, &CCheckRequestDlg::OnFieldChanged)
ON_EN_CHANGE(IDC_CHECK_SIGNATURE, &CCheckRequestDlg::OnFieldChanged)
ON_EN_CHANGE(IDC_CHECK_PREFIX, &CCheckRequestDlg::OnFieldChanged)
ON_EN_CHANGE(IDC_CHECK_MAX_SKEW, &CCheckRequestDlg::OnFieldChanged)
END_MESSAGE_MAP()

BOOL CCheckRequestDlg::OnInitDialog() {
    // The main dialog's key and prefix, read as its Generate reads them.
    CDataExchange dx(m_pParentWnd, TRUE, &m_strMainRefusal);
    AfxRunExchange(dx, [this](CDataExchange* pDX) {
        DDX_Text(pDX, m_nIDSecretKey, m_strSecretKey);
        DDX_Text(pDX, m_nIDPrefix, m_fields.strPrefix);
    });
    m_bFilling = true;
    CDialog::OnInitDialog();
    m_bFilling = false;
    for (const int nID : kInputs) {
        // A paste of any length, not cut at the control's default limit.
        GetDlgItem(nID)->SendMessage(EM_SETLIMITTEXT, 0);
    }
    Recheck();
    return TRUE;
}

// Enter presses nothing: the result follows the fields.
void CCheckRequestDlg::OnOK() {
}

void CCheckRequestDlg::OnFieldChanged() {
    if (!m_bFilling) {
        Recheck();
    }
}

void CCheckRequestDlg::Recheck() {
    CString strResult;
    if (UpdateData(TRUE, &strResult)) {
        const CString strTimestampShown = m_fields.strTimestamp;
        const CString strSignatureShown = m_fields.strSignature;
        strResult = DescribeCheckAt(std::time(nullptr), m_strSecretKey, m_fields);
        // The URL wins while there is one; the fields then show what it gave.
        const BOOL bFromUrl = !m_fields.strUrl.IsEmpty();
        GetDlgItem(IDC_CHECK_FROM_URL)->ShowWindow(bFromUrl ? SW_SHOWNA : SW_HIDE);
        ShowText(IDC_CHECK_TIMESTAMP, m_fields.strTimestamp, strTimestampShown);
        ShowText(IDC_CHECK_SIGNATURE, m_fields.strSignature, strSignatureShown);
        for (const int nID : {IDC_CHECK_TIMESTAMP, IDC_CHECK_SIGNATURE}) {
            GetDlgItem(nID)->SendMessage(EM_SETREADONLY, bFromUrl);
        }
    }
    if (!m_strMainRefusal.IsEmpty()) {
        strResult = m_strMainRefusal;
    }
    if (strResult == m_strResult) {
        return;
    }
    m_strResult = strResult;
    CWnd* pResult = GetDlgItem(IDC_CHECK_RESULT);
    pResult->SetWindowText(m_strResult);
    // Screen readers read the new result without the focus moving there.
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, pResult->m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

// Puts strText in control nID unless it shows it already (which would move the caret).
void CCheckRequestDlg::ShowText(int nID, const CString& strText, const CString& strShown) {
    if (strText != strShown) {
        m_bFilling = true;
        GetDlgItem(nID)->SetWindowText(strText);
        m_bFilling = false;
    }
}
