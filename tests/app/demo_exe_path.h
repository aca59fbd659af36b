#pragma once
// Where the tests find the built KestrowDemo.exe: KESTROW_DEMO_EXE_RELATIVE is its
// path relative to the folder of the running test executable.

#include <windows.h>

#include <string>

inline std::string DemoExePath() {
    char szSelf[MAX_PATH];
    const DWORD cch = GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    std::string str(szSelf, cch < MAX_PATH ? cch : 0);
    str.erase(str.find_last_of("\\/") + 1);
    return str + KESTROW_DEMO_EXE_RELATIVE;
}
