#pragma once
// Shared by the program's tests under Wine.

#include <windows.h>

#include <string>

// The dialog box open over hOwner, or nullptr.
inline HWND BoxOver(HWND hOwner) {
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, "#32770", nullptr)) && GetWindow(h, GW_OWNER) != hOwner) {
    }
    return h;
}

// Built files the tests use are found relative to the running test executable.
inline std::string BesideSelf(const char* pszRelative) {
    char szSelf[MAX_PATH];
    std::string str(szSelf, GetModuleFileNameA(nullptr, szSelf, MAX_PATH));
    return str.erase(str.find_last_of("\\/") + 1) + pszRelative;
}

// Closes a dialog the nWay-th of three ways: a click on nButton, Escape, the close command.
inline void CloseDialog(HWND hDlg, int nWay, int nButton) {
    const HWND hButton = GetDlgItem(hDlg, nButton);
    nWay % 3 == 0 ? PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED), (LPARAM)hButton)
    : nWay % 3 == 1 ? PostMessageA(hButton, WM_KEYDOWN, VK_ESCAPE, 1)
                    : PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
}
