// Shows KestrowDemo for a screenshot: starts the program, waits for its dialog,
// optionally types a key and an Access Key ID and presses "&Generate", writes the
// dialog's screen rectangle as "x y width height" to RECT_FILE, and once DONE_FILE
// exists closes the program with "E&xit" and waits for it to end. Files, because a
// program started inside a Wine virtual desktop has no standard output.
//
// Usage: KestrowDemoDriver PROGRAM RECT_FILE DONE_FILE [SECRET_KEY ACCESS_KEY_ID]

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

bool Generate(HWND hDlg, const char* pszSecretKey, const char* pszAccessKeyId) {
    SetDlgItemTextA(hDlg, IDC_SECRET_KEY, pszSecretKey);
    SetDlgItemTextA(hDlg, IDC_ACCESS_KEY_ID, pszAccessKeyId);
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_GENERATE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_GENERATE)));
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
int Show(HANDLE hProcess, DWORD dwProcessId, int argc, char** argv) {
    const HWND hDlg = WaitForDialog(dwProcessId);
    if (hDlg == nullptr) {
        return 1;
    }
    if (argc == 6 && !Generate(hDlg, argv[4], argv[5])) {
        return 1;
    }
    // Active, as a user would see it, and done painting before anyone looks.
    SetForegroundWindow(hDlg);
    Sleep(500);
    if (!WriteRect(argv[2], hDlg)) {
        return 1;
    }
    for (int i = 0; i < 600 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(100);
    }
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
    return WaitForSingleObject(hProcess, 10000) == WAIT_OBJECT_0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: KestrowDemoDriver PROGRAM RECT_FILE DONE_FILE "
                             "[SECRET_KEY ACCESS_KEY_ID]\n");
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
    const int nResult = Show(pi.hProcess, pi.dwProcessId, argc, argv);
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return nResult;
}
