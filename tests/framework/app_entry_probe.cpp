// A program made of nothing but an application object, run through the framework's
// WinMain: it checks what the framework set up before InitInstance and ends by
// returning FALSE from it. ctest passes it on exit code 0; a failed check exits with 3.

#include <cstdio>

#include "framework/afx.h"

namespace {

void Check(bool bCondition, const char* pszWhat) {
    if (!bCondition) {
        std::fprintf(stderr, "app_entry_probe: %s\n", pszWhat);
        std::fflush(stderr);
        ::ExitProcess(3);
    }
}

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override {
        Check(AfxGetApp() == this, "the application object is not registered");
        Check(m_hInstance == ::GetModuleHandleA(nullptr), "wrong instance handle");
        // No title resource in this program: the name is the executable's file title.
        Check(CString(m_pszAppName) == "framework_app_entry_tests", "wrong application name");
        Check(AfxGetMainWnd() == nullptr, "a main window before there is one");
        return FALSE;
    }
};

CProbeApp theApp;

} // namespace
