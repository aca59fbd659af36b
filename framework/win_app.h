#pragma once
// The application object and the framework's global functions.
//
// One global object of a CWinApp class registers itself while it is constructed (static
// initialisation). The framework's wWinMain (link the kestrow_framework_main object
// library) then calls its InitInstance; FALSE ends the program with exit code 0, TRUE
// runs the application's message loop (Run).

#include "framework/afxres.h"
#include "framework/cstring.h"
#include "framework/object.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // lpszAppName nullptr: the name is the string resource AFX_IDS_APP_TITLE if the
    // program has it, else the executable's file name without its extension.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The message loop, until WM_QUIT; returns ExitInstance's result.
    virtual int Run();
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // The framework's handler of the help command (ID_HELP): opens the application's
    // help file; a message box tells when that is not possible.
    afx_msg void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    LPCSTR m_pszAppName = nullptr; // always set after construction
    LPCSTR m_pszExeName = nullptr; // file name without extension
    LPCSTR m_pszHelpFilePath = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr; // as the system gives it; the program takes no arguments
    int m_nCmdShow = SW_SHOWNORMAL;

    // The process entry point's part: records the start-up values.
    void SetStartupValues(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow);

private:
    CString m_strAppName;
    CString m_strExeName;
    CString m_strHelpFilePath;
    int m_nExitCode = 0;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
// The application's main window; nullptr without an application object or window.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module whose resources hold the resource lpszName of type lpszType (this program's
// module, which holds all of them).
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The application's name: its object's, or derived from hInstance's resources and file
// name as for an application object without a name.
CString AfxGetAppName();
CString AfxDeriveAppName(HINSTANCE hInstance);
// The string resource nID of hInstance into rString; FALSE (and the empty text) when
// there is none.
BOOL AfxLoadString(HINSTANCE hInstance, UINT nID, CString& rString);

// Support for ActiveX controls in dialogs. The program's templates have none, so there
// is nothing to prepare; kept so applications read as they do with the framework.
void AfxEnableControlContainer();

// A message box with the application's name as caption, owned by the main window (or
// the dialog it is running modally). nIDHelp is accepted for compatibility; there is
// no help context.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The string resource nIDPrompt as the text.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
