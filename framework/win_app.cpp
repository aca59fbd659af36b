// The application object, its name, and the framework's global functions.

#include "framework/win_app.h"

#include <string>

#include "framework/exceptions.h"
#include "framework/thread_state.h"
#include "framework/wide_text.h"
#include "framework/wnd.h"

namespace {

CWinApp* g_pApp = nullptr;

// Empty when it cannot be had (or is not Unicode, which a file system may allow).
CString ModuleFileName(HINSTANCE hInstance) {
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;) {
        DWORD nLength =
            ::GetModuleFileNameW(hInstance, &strPath[0], static_cast<DWORD>(strPath.size()));
        CString str;
        if (nLength == 0) {
            return str;
        }
        if (nLength < strPath.size()) {
            AfxFromWide(strPath.data(), nLength, str);
            return str;
        }
        if (strPath.size() >= 32768) { // the longest path the system has
            return str;
        }
        strPath.resize(strPath.size() * 2);
    }
}

// "C:\dir\Name.exe" -> "Name".
CString FileTitle(const CString& strPath) {
    const std::string& path = strPath.str();
    std::string::size_type nStart = path.find_last_of("\\/:");
    nStart = nStart == std::string::npos ? 0 : nStart + 1;
    std::string::size_type nDot = path.find_last_of('.');
    std::string::size_type nEnd = nDot == std::string::npos || nDot < nStart ? path.size() : nDot;
    return CString(path.substr(nStart, nEnd - nStart));
}

// The window that owns the application's message boxes: the main window, or the modal
// dialog nested over it.
HWND MessageBoxOwner() {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && ::IsWindow(pMainWnd->m_hWnd)) {
        return ::GetLastActivePopup(::GetAncestor(pMainWnd->m_hWnd, GA_ROOT));
    }
    return ::GetActiveWindow();
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) {
    g_pApp = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
    CString strPath = ModuleFileName(m_hInstance);
    m_strExeName = FileTitle(strPath);
    m_strAppName = lpszAppName != nullptr ? CString(lpszAppName) : AfxDeriveAppName(m_hInstance);
    const std::string& path = strPath.str();
    std::string::size_type nDot = path.find_last_of('.');
    std::string::size_type nSlash = path.find_last_of("\\/");
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash)) {
        m_strHelpFilePath = CString(path.substr(0, nDot) + ".HLP");
    }
    m_pszAppName = m_strAppName;
    m_pszExeName = m_strExeName;
    m_pszHelpFilePath = m_strHelpFilePath;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

void CWinApp::SetStartupValues(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow) {
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            AfxDeleteTempMaps();
        }
        BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bResult == 0) {
            m_nExitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (bResult == -1) {
            m_nExitCode = -1;
            break;
        }
        BOOL bHandled = FALSE;
        try {
            bHandled = PreTranslateMessage(&msg);
        } catch (...) {
            AfxProcessWndProcException(msg.hwnd, msg.message);
        }
        if (!bHandled) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return m_nExitCode;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
    }
    return FALSE;
}

void CWinApp::OnHelp() {
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWnd = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    // The help engine is asked only for a file that exists: without one it may wait
    // for a help program that never answers.
    DWORD dwAttributes = m_strHelpFilePath.IsEmpty()
                             ? INVALID_FILE_ATTRIBUTES
                             : ::GetFileAttributesW(CWideText(m_strHelpFilePath));
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !::WinHelpW(hWnd, CWideText(m_strHelpFilePath), HELP_FINDER, 0)) {
        AfxMessageBox("Failed to launch help.", MB_ICONEXCLAMATION | MB_OK);
    }
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance
                                                               : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) {
    return AfxGetResourceHandle();
}

CString AfxDeriveAppName(HINSTANCE hInstance) {
    CString strName;
    if (AfxLoadString(hInstance, AFX_IDS_APP_TITLE, strName)) {
        return strName;
    }
    return FileTitle(ModuleFileName(hInstance));
}

CString AfxGetAppName() {
    if (g_pApp != nullptr && g_pApp->m_pszAppName != nullptr) {
        return CString(g_pApp->m_pszAppName);
    }
    return AfxDeriveAppName(::GetModuleHandleW(nullptr));
}

void AfxEnableControlContainer() {
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    CString strCaption = AfxGetAppName();
    return ::MessageBoxW(MessageBoxOwner(), CWideText(lpszText), CWideText(strCaption), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}
