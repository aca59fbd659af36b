#include "app/kestrow_demo_app.h"

#include "app/kestrow_demo_dlg.h"

BEGIN_MESSAGE_MAP(CKestrowDemoApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// No application name: the framework derives it.
CKestrowDemoApp::CKestrowDemoApp() : CWinApp(nullptr) {
}

CKestrowDemoApp::~CKestrowDemoApp() = default;

CKestrowDemoApp theApp;

BOOL CKestrowDemoApp::InitInstance() {
    AfxEnableControlContainer();

    CKestrowDemoDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog dies with this scope; nothing may reach it through the main window.
    m_pMainWnd = nullptr;

    // FALSE ends the application instead of entering the framework's message loop.
    return FALSE;
}
