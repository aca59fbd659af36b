// Drives a running KestrowDemo from outside, for screenshots: waits for its dialog,
// optionally types a key and an Access Key ID and presses "&Generate", and writes the
// dialog's screen rectangle as "x y width height" to RECT_FILE; or closes the program.
// (A file, because a program started inside a Wine virtual desktop has no stdout.)
//
// Usage: KestrowDemoDriver show RECT_FILE [SECRET_KEY ACCESS_KEY_ID]
//        KestrowDemoDriver close

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/resource.h"

namespace {

const char kCaption[] = "Ombry Kestrow Demo";

HWND WaitForDialog() {
    for (int i = 0; i < 300; ++i) {
        const HWND hDlg = FindWindowA(nullptr, kCaption);
        if (hDlg != nullptr && IsWindowVisible(hDlg)) {
            return hDlg;
        }
        Sleep(100);
    }
    return nullptr;
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

} // namespace

int main(int argc, char** argv) {
    const bool bShow = argc >= 2 && std::strcmp(argv[1], "show") == 0;
    const bool bClose = argc == 2 && std::strcmp(argv[1], "close") == 0;
    if (!bClose && !(bShow && (argc == 3 || argc == 5))) {
        std::fprintf(
            stderr, "usage: KestrowDemoDriver show RECT_FILE [SECRET_KEY ACCESS_KEY_ID] | close\n");
        return 2;
    }
    const HWND hDlg = WaitForDialog();
    if (hDlg == nullptr) {
        std::fprintf(stderr, "KestrowDemoDriver: no \"%s\" window appeared\n", kCaption);
        return 1;
    }
    if (bClose) {
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
        return 0;
    }
    if (argc == 5 && !Generate(hDlg, argv[3], argv[4])) {
        std::fprintf(stderr, "KestrowDemoDriver: the dialog shows no timestamp after Generate\n");
        return 1;
    }
    // Let the dialog finish painting before anyone looks at it.
    Sleep(500);
    RECT rc;
    GetWindowRect(hDlg, &rc);
    std::FILE* pFile = std::fopen(argv[2], "w");
    if (pFile == nullptr) {
        std::fprintf(stderr, "KestrowDemoDriver: cannot write %s\n", argv[2]);
        return 1;
    }
    std::fprintf(pFile, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top);
    return std::fclose(pFile) == 0 ? 0 : 1;
}
