#include "tests/app/main_dialog_runner.h"

#include "app/kestrow_demo_dlg.h"

namespace {

// The tests' stand-in for theApp; its InitInstance never runs.
CWinApp g_testApp;

} // namespace

INT_PTR RunMainDialog() {
    CKestrowDemoDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;
    const INT_PTR nResult = dlg.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
    return nResult;
}
