// A program of nothing but an application object, run through the framework's WinMain:
// InitInstance checks what the framework set up (a failed check exits with 3), then
// returning FALSE ends the program with exit code 0.

#include "framework/afx.h"

namespace {

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override {
        // No title resource in this program: the name is the executable's file title.
        if (AfxGetApp() != this || m_hInstance != ::GetModuleHandleW(nullptr) ||
            CString(m_pszAppName) != "framework_app_entry_tests" || AfxGetMainWnd() != nullptr) {
            ::ExitProcess(3);
        }
        return FALSE;
    }
} theApp;

} // namespace
