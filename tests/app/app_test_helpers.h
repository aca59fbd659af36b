#pragma once
// Shared by the program's tests under Wine.

#include <windows.h>

#include <string>

#include "tests/support/win_test_support.h"

// Built files the tests use are found relative to the running test executable (UTF-8).
inline std::string BesideSelf(const char* pszRelative) {
    wchar_t szSelf[MAX_PATH];
    std::string str = Utf8(szSelf, GetModuleFileNameW(nullptr, szSelf, MAX_PATH));
    return str.erase(str.find_last_of("\\/") + 1) + pszRelative;
}

// The text of the dialog's control nId.
inline std::string Text(HWND hDlg, int nId) {
    return WindowText(GetDlgItem(hDlg, nId));
}

// A click on the dialog's button nId.
inline void Click(HWND hDlg, int nId) {
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, nId));
}

// Closes a dialog the nWay-th of three ways: a click on nButton, Escape, the close command.
inline void CloseDialog(HWND hDlg, int nWay, int nButton) {
    nWay % 3 == 0   ? Click(hDlg, nButton)
    : nWay % 3 == 1 ? (void)PostMessageW(GetDlgItem(hDlg, nButton), WM_KEYDOWN, VK_ESCAPE, 1)
                    : (void)PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
}
