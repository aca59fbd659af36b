// kestrow-sign.exe where it meets Windows, which hands it UTF-16: its arguments, the secret
// in its environment, a secret file's name and the console, with text that no ANSI code page
// holds (Greek, Chinese, U+1F511 beyond the Basic Multilingual Plane); text that is not
// Unicode is refused. Run from the folder of kestrow-sign.exe.
//
// Expected signatures from Python, over UTF-8: base64(hmac.new(key.encode(),
// (prefix + timestamp).encode(), hashlib.sha1).digest()), URL-encoded.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

const wchar_t g_szSecret[] = L"\u6e2c\u8a66\u5bc6\u9470"; // 測試密鑰
const wchar_t g_szPrefix[] = L"\u00c9tat\u03b1";          // Étatα
// Checks a signature made at 2026-12-05T22:26:06Z, this one over g_szPrefix.
const wchar_t g_szVerify[] = L"verify --timestamp 2026-12-05T22:26:06.000Z "
                             L"--now 2026-12-05T22:26:06Z --signature ";
const wchar_t g_szSignature[] = L"hsDS%2BB48oZzPTnqfKrU6P%2FGeyOo%3D";

// kestrow-sign.exe with the arguments and KESTROW_SECRET_KEY=pszSecret (none for nullptr);
// what it writes, through one pipe, or into this process's console when bConsole.
std::pair<DWORD, std::string> RunSign(const std::wstring& wstrArgs, const wchar_t* pszSecret,
                                      bool bConsole = false) {
    SetEnvironmentVariableW(L"KESTROW_SECRET_KEY", pszSecret);
    std::wstring wstrCommand = L"kestrow-sign.exe " + wstrArgs;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE hRead = nullptr;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!bConsole) {
        EXPECT_TRUE(CreatePipe(&hRead, &si.hStdOutput, &sa, 0));
        si.hStdError = si.hStdOutput;
        si.dwFlags = STARTF_USESTDHANDLES;
    }
    PROCESS_INFORMATION pi{};
    std::pair<DWORD, std::string> run{99, ""};
    EXPECT_TRUE(CreateProcessW(L"kestrow-sign.exe", wstrCommand.data(), nullptr, nullptr, TRUE, 0,
                               nullptr, nullptr, &si, &pi));
    if (!bConsole) {
        CloseHandle(si.hStdOutput);
        char buffer[4096];
        DWORD dwRead = 0;
        while (ReadFile(hRead, buffer, sizeof buffer, &dwRead, nullptr) && dwRead > 0) {
            run.second.append(buffer, dwRead);
        }
        CloseHandle(hRead);
    }
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &run.first);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

} // namespace

TEST(KestrowSignWindows, SignsWhatWasTypedFromArgumentsEnvironmentAndFileName) {
    const std::wstring wstrVerify =
        g_szVerify + std::wstring(g_szSignature) + L" --format json --prefix " + g_szPrefix;
    const std::string strValid = "{\"verdict\":\"valid\",\"valid\":true,\"stringToSign\":"
                                 "\"\xc3\x89tat\xce\xb1"
                                 "2026-12-05T22:26:06.000Z\"";
    EXPECT_EQ(RunSign(wstrVerify, g_szSecret).second.rfind(strValid, 0), 0u);

    const std::wstring wstrFile = L"\u5bc6\u9470 \U0001F511.key"; // in the program's folder
    HANDLE hFile =
        CreateFileW(wstrFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char szSecretUtf8[] = "\xe6\xb8\xac\xe8\xa9\xa6\xe5\xaf\x86\xe9\x91\xb0\r\n";
    DWORD dwWritten = 0;
    EXPECT_TRUE(WriteFile(hFile, szSecretUtf8, sizeof szSecretUtf8 - 1, &dwWritten, nullptr));
    CloseHandle(hFile);
    const auto run = RunSign(wstrVerify + L" --secret-key-file \"" + wstrFile + L"\"", nullptr);
    DeleteFileW(wstrFile.c_str());
    EXPECT_EQ(run.second.rfind(strValid, 0), 0u) << run.second;
}

TEST(KestrowSignWindows, RefusesTextThatIsNotUnicode) {
    const std::string strNot = " is not Unicode text (it holds an unpaired surrogate)\r\n";
    EXPECT_EQ(RunSign(L"--time 0 --prefix a\xd800", g_szSecret),
              std::make_pair(DWORD{2}, "kestrow-sign: argument 4" + strNot));
    EXPECT_EQ(
        RunSign(L"--time 0", L"\xdc00key"),
        std::make_pair(DWORD{5}, "kestrow-sign: the secret key from KESTROW_SECRET_KEY" + strNot));
}

// A console of its own, which the program inherits; what it wrote is read back off the screen.
TEST(KestrowSignWindows, WritesEveryCharacterToAConsole) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const std::wstring wstrPrefix = g_szPrefix + std::wstring(L"\U0001F511");
    EXPECT_EQ(RunSign(g_szVerify + (L"hQYXyz3WN0EAhnIed6vYMVOu9Xk%3D --prefix " + wstrPrefix),
                      g_szSecret, true)
                  .first,
              0u);
    EXPECT_EQ(RunSign(L"--format \u6e2c\u8a66", g_szSecret, true).first, 2u);
    HANDLE hConsole =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    std::wstring wstrScreen(80 * 100, L' '); // more than the screen buffer holds
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
