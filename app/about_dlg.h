#pragma once
// The About box: the program's icon, name and version, and the home-page link.

#include "controls/hyperlink.h"
#include "framework/afx.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    CHyperLink m_ctlHomeLink;
};
