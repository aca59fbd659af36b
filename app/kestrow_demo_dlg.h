#pragma once
// The program's main window: the key, Access Key ID and prefix fields, "&Generate"
// with its results and sample URL, "&Test URL", "C&heck..." and the About item of the system
// menu.

#include "app/app_icon.h"
#include "controls/hyperlink.h"
#include "framework/afx.h"

class CKestrowDemoDlg : public CDialog {
public:
    explicit CKestrowDemoDlg(CWnd* pParent = nullptr);
    ~CKestrowDemoDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnBnClickedGenerate();
    afx_msg void OnBnClickedTestUrl();
    afx_msg void OnBnClickedCheck();
    DECLARE_MESSAGE_MAP()

private:
    CHyperLink m_ctlHomeLink;
    CString m_strServicePrefix;
    CString m_strSecretKey;
    CString m_strGeneratedSignature;
    CString m_strGeneratedTimestamp;
    CString m_strSampleUrl;
    CString m_strAccessKeyId;
    CAppIcons m_icons;

    void ShowIcons();
};
