#pragma once
// "Check a signed request": a pasted URL, or a timestamp and signature typed apart, checked
// under the main window's Secret Access Key as the user types, with the verdict, the
// signature expected and the hints of kestrow-sign verify.

#include "app/check_report.h"
#include "framework/afx.h"

class CCheckRequestDlg : public CDialog {
public:
    // pParent: the main dialog, whose fields nIDSecretKey and nIDPrefix give the key (never
    // typed twice) and the prefix to start from.
    CCheckRequestDlg(CWnd* pParent, int nIDSecretKey, int nIDPrefix);
    ~CCheckRequestDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnFieldChanged();
    DECLARE_MESSAGE_MAP()

private:
    int m_nIDSecretKey;
    int m_nIDPrefix;
    CString m_strSecretKey;
    CString m_strMainRefusal; // why the main dialog's fields could not be read
    SCheckFields m_fields;
    CString m_strResult; // as shown
    bool m_bFilling = false;

    void Recheck();
    void ShowText(int nID, const CString& strText, const CString& strShown);
};
