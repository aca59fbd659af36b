// Stands in for a web browser in tests: writes the command line it was started with, in
// UTF-16, to the file named by KESTROW_RECORD_FILE, through a side file renamed into place,
// so a reader never sees half of it.

#include <windows.h>

#include <string>

int wmain() {
    wchar_t szTarget[MAX_PATH];
    const DWORD cch = GetEnvironmentVariableW(L"KESTROW_RECORD_FILE", szTarget, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH) {
        return 2;
    }
    const std::wstring strPartial = std::wstring(szTarget) + L".new";
    const HANDLE hFile = CreateFileW(strPartial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    const wchar_t* pszLine = GetCommandLineW();
    DWORD cbWritten = 0;
    const bool bWritten =
        WriteFile(hFile, pszLine, lstrlenW(pszLine) * sizeof(wchar_t), &cbWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && MoveFileExW(strPartial.c_str(), szTarget, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
