// Stands in for a web browser in tests: writes the command line it was started with, in
// UTF-8, to the file named by KESTROW_RECORD_FILE, through a side file renamed into place,
// so a reader never sees half of it.

#include <windows.h>

#include <string>

#include "framework/unicode.h"

int wmain() {
    wchar_t szTarget[MAX_PATH];
    const DWORD cch = GetEnvironmentVariableW(L"KESTROW_RECORD_FILE", szTarget, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH) {
        return 2;
    }
    const std::wstring strLine = GetCommandLineW();
    const std::size_t cbLine = Utf8LengthOfUtf16(strLine.data(), strLine.size());
    if (cbLine == kNotUnicode) {
        return 4;
    }
    std::string strUtf8(cbLine, '\0');
    Utf16ToUtf8(strLine.data(), strLine.size(), strUtf8.data());
    const std::wstring strPartial = std::wstring(szTarget) + L".new";
    const HANDLE hFile = CreateFileW(strPartial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD cbWritten = 0;
    const bool bWritten =
        WriteFile(hFile, strUtf8.data(), static_cast<DWORD>(cbLine), &cbWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && MoveFileExW(strPartial.c_str(), szTarget, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
