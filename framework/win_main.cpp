// The process entry point: hands control to the application object. The wide one, so that
// the C runtime's start-up asks the system for nothing in its code page (link with -municode).

#include "framework/exceptions.h"
#include "framework/win_app.h"
#include "framework/wnd.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        ::MessageBoxW(nullptr, L"The program has no application object.", nullptr,
                      MB_ICONSTOP | MB_OK);
        return 1;
    }
    try {
        pApp->SetStartupValues(hInstance, lpCmdLine, nCmdShow);
        if (!pApp->InitInstance()) {
            if (pApp->m_pMainWnd != nullptr) {
                pApp->m_pMainWnd->DestroyWindow();
            }
            return pApp->ExitInstance();
        }
        return pApp->Run();
    } catch (...) {
        AfxProcessWndProcException(nullptr, 0);
        return 1;
    }
}
