// KestrowDemo.exe as a process: it shows its main dialog, and closing that dialog in
// any of the three ways ends the program.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource.h"
#include "tests/app/demo_exe_path.h"
#include "tests/app/dialog_harness.h"

namespace {

struct SFindWindow {
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindProcessDialog(HWND hWnd, LPARAM lParam) {
    SFindWindow* pFind = reinterpret_cast<SFindWindow*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId == pFind->dwProcessId && IsWindowVisible(hWnd) &&
        WindowText(hWnd) == "Ombry Kestrow Demo") {
        pFind->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

class RunningProgram : public ::testing::Test {
protected:
    void SetUp() override {
        std::string strCommandLine = "\"" + DemoExePath() + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessA(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &m_pi))
            << "cannot start " << DemoExePath();
        SFindWindow find{m_pi.dwProcessId, nullptr};
        CDialogHarness::WaitUntil([&] {
            EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&find));
            return find.hWnd != nullptr;
        });
        m_hDlg = find.hWnd;
        ASSERT_NE(m_hDlg, nullptr) << "the program showed no main dialog";
        // The dialog is up once its fields are filled.
        ASSERT_TRUE(CDialogHarness::WaitUntil(
            [&] { return WindowText(GetDlgItem(m_hDlg, IDC_PREFIX)) == "UrlInfo"; }));
    }

    void TearDown() override {
        if (m_pi.hProcess != nullptr) {
            if (WaitForSingleObject(m_pi.hProcess, 0) != WAIT_OBJECT_0) {
                TerminateProcess(m_pi.hProcess, 99);
            }
            CloseHandle(m_pi.hThread);
            CloseHandle(m_pi.hProcess);
        }
    }

    void ExpectProgramEnds() {
        ASSERT_EQ(WaitForSingleObject(m_pi.hProcess, 20000), WAIT_OBJECT_0)
            << "the program kept running after its dialog closed";
        DWORD dwExitCode = 1;
        GetExitCodeProcess(m_pi.hProcess, &dwExitCode);
        EXPECT_EQ(dwExitCode, 0u);
    }

    PROCESS_INFORMATION m_pi{};
    HWND m_hDlg = nullptr;
};

TEST_F(RunningProgram, EndsWhenExitIsPressed) {
    CDialogHarness::Click(m_hDlg, IDCANCEL);
    ExpectProgramEnds();
}

TEST_F(RunningProgram, EndsOnTheEscapeKey) {
    CDialogHarness::PostKey(GetDlgItem(m_hDlg, IDC_SECRET_KEY), VK_ESCAPE);
    ExpectProgramEnds();
}

TEST_F(RunningProgram, EndsOnTheCloseCommand) {
    PostMessageA(m_hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectProgramEnds();
}

} // namespace
