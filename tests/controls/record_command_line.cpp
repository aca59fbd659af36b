// Stands in for a web browser in the launcher tests: writes the command line it
// was started with to the file named by KESTROW_RECORD_FILE and exits.
// The text is written to a side file first and renamed into place, so a reader
// never sees half of it.

#include <windows.h>

#include <cstring>

int main() {
    char szTarget[MAX_PATH];
    const DWORD cch = GetEnvironmentVariableA("KESTROW_RECORD_FILE", szTarget, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH - 4) {
        return 2;
    }
    char szPartial[MAX_PATH];
    std::memcpy(szPartial, szTarget, cch);
    std::memcpy(szPartial + cch, ".new", 5);

    const HANDLE hFile = CreateFileA(szPartial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return 3;
    }
    const char* pszCommandLine = GetCommandLineA();
    const DWORD cbLine = static_cast<DWORD>(std::strlen(pszCommandLine));
    DWORD cbWritten = 0;
    const BOOL bWritten = WriteFile(hFile, pszCommandLine, cbLine, &cbWritten, nullptr);
    CloseHandle(hFile);
    if (!bWritten || cbWritten != cbLine) {
        return 4;
    }
    return MoveFileExA(szPartial, szTarget, MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
