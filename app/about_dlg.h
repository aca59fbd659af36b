#pragma once
// The About box: the program's icon, name and version, and the home-page link.

#include "app/app_icon.h"
#include "controls/hyperlink.h"
#include "framework/afx.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CHyperLink m_ctlHomeLink;
    CAppIcons m_icons;

    void ShowIcon();
};
