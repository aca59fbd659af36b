// Shows KestrowDemo for a screenshot: starts the program, waits for its dialog, brings
// up what SHOW names, writes the screen rectangle of the window to take as
// "x y width height" to RECT_FILE, and once DONE_FILE exists closes it all and waits
// for the program to end. Files, because a program started inside a Wine virtual
// desktop has no standard output.
//
// Usage: KestrowDemoDriver PROGRAM RECT_FILE DONE_FILE [SHOW]
//   SHOW  dialog (the default): the dialog as it starts
//         generate: a sample key and Access Key ID typed and "&Generate" pressed
//         generate-unicode: the same with a Greek and Chinese prefix and a Chinese key
//         notice: the same without an Access Key ID; the Notice box is taken
//         about: the About box, opened from the system menu's item
//         check: the check dialog over a generate without an Access Key ID (its Notice box
//                closed), with the URL it made pasted, %key% and all
//         check-refused: the same with one character of the signature changed

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/resource.h"

namespace {

const wchar_t kCaption[] = L"Ombry Kestrow Demo";

struct SFindWindow {
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindProgramDialog(HWND hWnd, LPARAM lParam) {
    SFindWindow* pFind = reinterpret_cast<SFindWindow*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    wchar_t szCaption[64] = {};
    GetWindowTextW(hWnd, szCaption, 64);
    if (dwProcessId == pFind->dwProcessId && IsWindowVisible(hWnd) &&
        std::wstring(szCaption) == kCaption) {
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
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

// Types a key, an Access Key ID and, unless nullptr, a prefix, and presses "&Generate".
void Generate(HWND hDlg, const wchar_t* pszKey, const wchar_t* pszAccessKeyId,
              const wchar_t* pszPrefix = nullptr) {
    SetDlgItemTextW(hDlg, IDC_SECRET_KEY, pszKey);
    SetDlgItemTextW(hDlg, IDC_ACCESS_KEY_ID, pszAccessKeyId);
    if (pszPrefix != nullptr) {
        SetDlgItemTextW(hDlg, IDC_PREFIX, pszPrefix);
    }
    Click(hDlg, IDC_GENERATE);
}

bool WaitForResults(HWND hDlg) {
    for (int i = 0; i < 100; ++i) {
        wchar_t szTimestamp[64] = {};
        GetDlgItemTextW(hDlg, IDC_TIMESTAMP, szTimestamp, 64);
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
        while ((hBox = FindWindowExW(nullptr, hBox, L"#32770", nullptr)) != nullptr) {
            if (GetWindow(hBox, GW_OWNER) == hDlg && IsWindowVisible(hBox)) {
                return hBox;
            }
        }
        Sleep(100);
    }
    return nullptr;
}

// Opens the check dialog over hDlg and pastes the sample URL into it, its signature's first
// character changed when bRefused.
HWND Check(HWND hDlg, bool bRefused) {
    wchar_t szUrl[512] = {};
    GetDlgItemTextW(hDlg, IDC_SAMPLE_URL, szUrl, 512);
    wchar_t* pchSignature = wcsstr(szUrl, L"Signature=");
    if (pchSignature == nullptr) {
        return nullptr;
    }
    if (bRefused) {
        pchSignature[10] = pchSignature[10] == L'A' ? L'B' : L'A';
    }
    Click(hDlg, IDC_CHECK);
    const HWND hCheck = WaitForBox(hDlg);
    if (hCheck != nullptr) {
        SetDlgItemTextW(hCheck, IDC_CHECK_URL, szUrl);
    }
    return hCheck;
}

bool WriteRect(const wchar_t* pszPath, HWND hDlg) {
    RECT rc;
    GetWindowRect(hDlg, &rc);
    std::FILE* pFile = _wfopen(pszPath, L"wb");
    if (pFile == nullptr) {
        return false;
    }
    std::fprintf(pFile, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top);
    return std::fclose(pFile) == 0;
}

// The program's dialog is shown, then closed; 0 when all of that worked.
int Show(HANDLE hProcess, DWORD dwProcessId, const std::wstring& strShow, wchar_t** argv) {
    const HWND hDlg = WaitForDialog(dwProcessId);
    if (hDlg == nullptr) {
        return 1;
    }
    HWND hShown = hDlg;
    if (strShow == L"generate") {
        Generate(hDlg, L"kestrow-demo-secret", L"KESTROWKEYID");
        hShown = WaitForResults(hDlg) ? hDlg : nullptr;
    } else if (strShow == L"generate-unicode") {
        Generate(hDlg, L"\u6E2C\u8A66\u5BC6\u9470", L"KESTROWKEYID",
                 L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC\u6E2C\u8A66");
        hShown = WaitForResults(hDlg) ? hDlg : nullptr;
    } else if (strShow == L"notice") {
        Generate(hDlg, L"kestrow-demo-secret", L"");
        hShown = WaitForBox(hDlg);
    } else if (strShow == L"check" || strShow == L"check-refused") {
        Generate(hDlg, L"kestrow-demo-secret", L"");
        const HWND hNotice = WaitForBox(hDlg);
        if (hNotice != nullptr) {
            Click(hNotice, IDOK);
        }
        hShown = hNotice != nullptr && WaitForResults(hDlg)
                     ? Check(hDlg, strShow == L"check-refused")
                     : nullptr;
    } else if (strShow == L"about") {
        PostMessageW(hDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
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
    for (int i = 0; i < 600 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(100);
    }
    if (hShown != hDlg) {
        // The check dialog has no OK: the result follows its fields.
        Click(hShown, strShow.compare(0, 5, L"check") == 0 ? IDCANCEL : IDOK);
    }
    Click(hDlg, IDCANCEL);
    return WaitForSingleObject(hProcess, 10000) == WAIT_OBJECT_0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring strShow = argc == 5 ? argv[4] : L"dialog";
    if ((argc != 4 && argc != 5) ||
        (strShow != L"dialog" && strShow != L"generate" && strShow != L"generate-unicode" &&
         strShow != L"notice" && strShow != L"about" && strShow != L"check" &&
         strShow != L"check-refused")) {
        std::fprintf(stderr,
                     "usage: KestrowDemoDriver PROGRAM RECT_FILE DONE_FILE "
                     "[dialog|generate|generate-unicode|notice|about|check|check-refused]\n");
        return 2;
    }
    std::wstring strCommandLine = std::wstring(L"\"") + argv[1] + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
