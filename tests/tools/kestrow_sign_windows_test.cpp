// kestrow-sign.exe where it meets Windows, which hands it UTF-16: its arguments, the secret
// in its environment, a secret file's name and the console, with text that no ANSI code page
// holds (Greek, Chinese, U+1F511 beyond the Basic Multilingual Plane); text that is not
// Unicode is refused. Run from the folder of kestrow-sign.exe.
//
// Expected signatures from Python, over UTF-8: base64(hmac.new(key.encode(),
// (prefix + timestamp).encode(), hashlib.sha1).digest()), URL-encoded.

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

const wchar_t g_szSecret[] = L"\u6e2c\u8a66\u5bc6\u9470"; // 測試密鑰
const wchar_t g_szPrefix[] = L"\u00c9tat\u03b1";          // Étatα
const char g_szPrefixUtf8[] = "\xc3\x89tat\xce\xb1";      // the same in UTF-8
// Checks a signature made at 2026-12-05T22:26:06Z; the first is over g_szPrefix.
const wchar_t g_szVerify[] = L"verify --timestamp 2026-12-05T22:26:06.000Z "
                             L"--now 2026-12-05T22:26:06Z --signature ";
const wchar_t g_szSignature[] = L"hsDS%2BB48oZzPTnqfKrU6P%2FGeyOo%3D";

struct SRun {
    DWORD dwExit = 99;
    std::string strOut, strErr;
};

std::string ReadAll(HANDLE hRead) {
    std::string str;
    char buffer[4096];
    DWORD dwRead = 0;
    while (ReadFile(hRead, buffer, sizeof buffer, &dwRead, nullptr) && dwRead > 0) {
        str.append(buffer, dwRead);
    }
    CloseHandle(hRead);
    return str;
}

// kestrow-sign.exe with the arguments and KESTROW_SECRET_KEY=pszSecret (none for nullptr);
// its output through pipes, or into this process's console when bConsole.
SRun RunSign(const std::wstring& wstrArgs, const wchar_t* pszSecret, bool bConsole = false) {
    const std::wstring wstrVariable = L"KESTROW_SECRET_KEY=";
    std::wstring wstrEnvironment;
    wchar_t* pBlock = GetEnvironmentStringsW();
    for (const wchar_t* psz = pBlock; *psz != L'\0'; psz += std::wcslen(psz) + 1) {
        if (std::wcsncmp(psz, wstrVariable.c_str(), wstrVariable.size()) != 0) {
            wstrEnvironment.append(psz).push_back(L'\0');
        }
    }
    FreeEnvironmentStringsW(pBlock);
    if (pszSecret != nullptr) {
        wstrEnvironment.append(wstrVariable + pszSecret).push_back(L'\0');
    }
    std::wstring wstrCommand = L"kestrow-sign.exe " + wstrArgs;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE hOut[2] = {}, hErr[2] = {};
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!bConsole) {
        EXPECT_TRUE(CreatePipe(&hOut[0], &hOut[1], &sa, 0) &&
                    CreatePipe(&hErr[0], &hErr[1], &sa, 0));
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = hOut[1];
        si.hStdError = hErr[1];
    }
    PROCESS_INFORMATION pi{};
    SRun run;
    if (!CreateProcessW(L"kestrow-sign.exe", wstrCommand.data(), nullptr, nullptr, TRUE,
                        CREATE_UNICODE_ENVIRONMENT, wstrEnvironment.data(), nullptr, &si, &pi)) {
        ADD_FAILURE() << "kestrow-sign.exe does not start: " << GetLastError();
        return run;
    }
    if (!bConsole) {
        CloseHandle(hOut[1]);
        CloseHandle(hErr[1]);
        run.strOut = ReadAll(hOut[0]);
        run.strErr = ReadAll(hErr[0]);
    }
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &run.dwExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

} // namespace

TEST(KestrowSignWindows, SignsWhatWasTypedFromArgumentsEnvironmentAndFileName) {
    const std::wstring wstrVerify =
        g_szVerify + std::wstring(g_szSignature) + L" --format json --prefix " + g_szPrefix;
    const std::string strValid = std::string("{\"verdict\":\"valid\",\"valid\":true,") +
                                 "\"stringToSign\":\"" + g_szPrefixUtf8 +
                                 "2026-12-05T22:26:06.000Z\"";
    SRun run = RunSign(wstrVerify, g_szSecret);
    EXPECT_EQ(run.strOut.rfind(strValid, 0), 0u) << run.strOut << run.strErr;
    // Another secret of the same script signs otherwise.
    run = RunSign(wstrVerify, L"\u65e5\u672c\u8a9e\u9375"); // 日本語鍵
    EXPECT_EQ(run.dwExit, 6u) << run.strOut << run.strErr;

    wchar_t szFolder[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, szFolder), 0u);
    const std::wstring wstrFile = szFolder + std::wstring(L"\u5bc6\u9470 \U0001F511.key");
    HANDLE hFile =
        CreateFileW(wstrFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    const char szSecretUtf8[] = "\xe6\xb8\xac\xe8\xa9\xa6\xe5\xaf\x86\xe9\x91\xb0\r\n";
    DWORD dwWritten = 0;
    EXPECT_TRUE(WriteFile(hFile, szSecretUtf8, sizeof szSecretUtf8 - 1, &dwWritten, nullptr));
    CloseHandle(hFile);
    run = RunSign(wstrVerify + L" --secret-key-file \"" + wstrFile + L"\"", nullptr);
    DeleteFileW(wstrFile.c_str());
    EXPECT_EQ(run.strOut.rfind(strValid, 0), 0u) << run.strOut << run.strErr;
}

TEST(KestrowSignWindows, RefusesTextThatIsNotUnicode) {
    SRun run = RunSign(L"--time 0 --prefix a\xd800", g_szSecret);
    EXPECT_EQ(run.dwExit, 2u);
    EXPECT_EQ(run.strOut, "");
    EXPECT_NE(run.strErr.find("argument 4 is not Unicode text"), std::string::npos) << run.strErr;
    run = RunSign(L"--time 0", L"\xdc00key");
    EXPECT_EQ(run.dwExit, 5u);
    EXPECT_EQ(run.strOut, "");
    EXPECT_NE(run.strErr.find("KESTROW_SECRET_KEY is not Unicode text"), std::string::npos)
        << run.strErr;
}

// A console of its own, which the program inherits; what it wrote is read back off the screen.
TEST(KestrowSignWindows, WritesEveryCharacterToAConsole) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const std::wstring wstrPrefix = g_szPrefix + std::wstring(L"\U0001F511");
    EXPECT_EQ(
        RunSign(g_szVerify + std::wstring(L"hQYXyz3WN0EAhnIed6vYMVOu9Xk%3D --prefix ") + wstrPrefix,
                g_szSecret, true)
            .dwExit,
        0u);
    EXPECT_EQ(RunSign(L"--format \u6e2c\u8a66", g_szSecret, true).dwExit, 2u);
    HANDLE hConsole =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(hConsole, &info));
    std::wstring wstrScreen(static_cast<std::size_t>(info.dwSize.X) * (info.dwCursorPosition.Y + 1),
                            L' ');
    DWORD dwRead = 0;
    ASSERT_TRUE(ReadConsoleOutputCharacterW(
        hConsole, wstrScreen.data(), static_cast<DWORD>(wstrScreen.size()), {0, 0}, &dwRead));
    CloseHandle(hConsole);
    FreeConsole();
    for (const std::wstring& wstrLine :
         {L"String to sign: " + wstrPrefix + L"2026-12-05T22:26:06.000Z",
          std::wstring(L"kestrow-sign: --format: \u6e2c\u8a66 not in {text,json}")}) {
        EXPECT_NE(wstrScreen.find(wstrLine), std::wstring::npos);
    }
}
