// Shows KestrowDemo for a screenshot: starts the program, waits for its dialog, brings
// up what SHOW names, writes the screen rectangle of the window to take as
// "x y width height" to RECT_FILE, and once DONE_FILE exists closes it all and waits
// for the program to end. Files, because a program started inside a Wine virtual
// desktop has no standard output.
//
// Usage: KestrowDemoDriver PROGRAM RECT_FILE DONE_FILE [SHOW]
//   SHOW  dialog (the default): the dialog as it starts
//         generate: a sample key and Access Key ID typed and "&Generate" pressed
//         notice: the same without an Access Key ID; the Notice box is taken
//         about: the About box, opened from the system menu's item

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/resource.h"

namespace {

const char kCaption[] = "Ombry Kestrow Demo";

struct SFindWindow {
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindProgramDialog(HWND hWnd, LPARAM lParam) {
    SFindWindow* pFind = reinterpret_cast<SFindWindow*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    char szCaption[64] = {};
    GetWindowTextA(hWnd, szCaption, sizeof szCaption);
    if (dwProcessId == pFind->dwProcessId && IsWindowVisible(hWnd) &&
        lstrcmpA(szCaption, kCaption) == 0) {
        pFind->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(DWORD dwProcessId) {
    SFindWindow find{dwProcessId, nullptr};
    for (int i = 0; i < 300 && find.hWnd == nullptr; ++i) {
        EnumWindows(FindProgramDialog, reinterpret_cast<LPARAM>(&find));
        if (find.hWnd == nullptr) {
            Sleep(100);
        }
    }
    return find.hWnd;
}

void Click(HWND hDlg, int nId) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

// Types a sample key and pszAccessKeyId and presses "&Generate".
void Generate(HWND hDlg, const char* pszAccessKeyId) {
    SetDlgItemTextA(hDlg, IDC_SECRET_KEY, "kestrow-demo-secret");
    SetDlgItemTextA(hDlg, IDC_ACCESS_KEY_ID, pszAccessKeyId);
    Click(hDlg, IDC_GENERATE);
}

bool WaitForResults(HWND hDlg) {
    for (int i = 0; i < 100; ++i) {
        char szTimestamp[64] = {};
        GetDlgItemTextA(hDlg, IDC_TIMESTAMP, szTimestamp, sizeof szTimestamp);
        if (szTimestamp[0] != '\0') {
            return true;
        }
        Sleep(100);
    }
    return false;
}

// The visible dialog box the program opened over hDlg, waited for.
HWND WaitForBox(HWND hDlg) {
    for (int i = 0; i < 100; ++i) {
        HWND hBox = nullptr;
        while ((hBox = FindWindowExA(nullptr, hBox, "#32770", nullptr)) != nullptr) {
            if (GetWindow(hBox, GW_OWNER) == hDlg && IsWindowVisible(hBox)) {
                return hBox;
            }
        }
        Sleep(100);
    }
    return nullptr;
}

bool WriteRect(const char* pszPath, HWND hDlg) {
    RECT rc;
    GetWindowRect(hDlg, &rc);
    std::FILE* pFile = std::fopen(pszPath, "wb");
    if (pFile == nullptr) {
        return false;
    }
    std::fprintf(pFile, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top);
    return std::fclose(pFile) == 0;
}

// The program's dialog is shown, then closed; 0 when all of that worked.
int Show(HANDLE hProcess, DWORD dwProcessId, const std::string& strShow, char** argv) {
    const HWND hDlg = WaitForDialog(dwProcessId);
    if (hDlg == nullptr) {
        return 1;
    }
    HWND hShown = hDlg;
    if (strShow == "generate") {
        Generate(hDlg, "KESTROWKEYID");
        hShown = WaitForResults(hDlg) ? hDlg : nullptr;
    } else if (strShow == "notice") {
        Generate(hDlg, "");
        hShown = WaitForBox(hDlg);
    } else if (strShow == "about") {
        PostMessageA(hDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        hShown = WaitForBox(hDlg);
    }
    if (hShown == nullptr) {
        return 1;
    }
    // Active, as a user would see it, and done painting before anyone looks.
    SetForegroundWindow(hShown);
    Sleep(500);
    if (!WriteRect(argv[2], hShown)) {
        return 1;
    }
    for (int i = 0; i < 600 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(100);
    }
    if (hShown != hDlg) {
        Click(hShown, IDOK);
    }
    Click(hDlg, IDCANCEL);
    return WaitForSingleObject(hProcess, 10000) == WAIT_OBJECT_0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string strShow = argc == 5 ? argv[4] : "dialog";
    if ((argc != 4 && argc != 5) || (strShow != "dialog" && strShow != "generate" &&
                                     strShow != "notice" && strShow != "about")) {
        std::fprintf(stderr, "usage: KestrowDemoDriver PROGRAM RECT_FILE DONE_FILE "
                             "[dialog|generate|notice|about]\n");
        return 2;
    }
    std::string strCommandLine = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        return 1;
    }
    const int nResult = Show(pi.hProcess, pi.dwProcessId, strShow, argv);
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return nResult;
}
