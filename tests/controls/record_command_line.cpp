// Stands in for a web browser in tests: writes the command line it was started with to the
// file named by KESTROW_RECORD_FILE, through a side file renamed into place, so a reader
// never sees half of it.

#include <windows.h>

#include <string>

int main() {
    char szTarget[MAX_PATH];
    const DWORD cch = GetEnvironmentVariableA("KESTROW_RECORD_FILE", szTarget, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH) {
        return 2;
    }
    const std::string strPartial = std::string(szTarget) + ".new";
    const HANDLE hFile = CreateFileA(strPartial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    const char* pszLine = GetCommandLineA();
    DWORD cbWritten = 0;
    const bool bWritten = WriteFile(hFile, pszLine, lstrlenA(pszLine), &cbWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && MoveFileExA(strPartial.c_str(), szTarget, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
