// The built KestrowDemo.exe: its resources, read back (what windres wrote is what the
// program runs on), and the program ending when its dialog closes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/resource.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/win_test_support.h"

// Reads little-endian fields one after the other.
struct SReader {
    const char* p;
    template <typename T> T Get() {
        T value;
        std::memcpy(&value, p, sizeof value);
        p += sizeof value;
        return value;
    }
};

const std::string g_strExe = BesideSelf(KESTROW_DEMO_EXE_RELATIVE);

// The bytes of a resource of the file in US English; none when it is missing.
std::string Resource(LPCSTR pszType, int nId, const std::string& strFile = g_strExe) {
    const HMODULE hModule =
        LoadLibraryExW(CWideText(strFile.c_str()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC hInfo =
        FindResourceExW(hModule, reinterpret_cast<LPCWSTR>(pszType), MAKEINTRESOURCEW(nId), 0x0409);
    const char* p =
        hInfo ? static_cast<const char*>(LockResource(LoadResource(hModule, hInfo))) : nullptr;
    const std::string str = p ? std::string(p, SizeofResource(hModule, hInfo)) : std::string();
    FreeLibrary(hModule);
    return str;
}

// The dialogs' texts and layout are read back from the live dialogs in the other suites.
TEST(ProgramResources, IconsAndManifestAreWhatWindowsLooksFor) {
    // Icon group: 16, 24, 32 and 48 pixels square, each in 8 and 32 bits.
    const std::string strGroup = Resource(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_FALSE(strGroup.empty());
    SReader r{strGroup.data() + 4}; // past the reserved word and the type
    std::set<std::pair<int, int>> images;
    for (WORD n = r.Get<WORD>(); n > 0; --n) {
        const int nSize = r.Get<BYTE>();
        r.p += 5; // height, colour count, reserved, planes
        const int nBits = r.Get<WORD>();
        r.p += 4; // bytes in the image
        const std::string strImage = Resource(RT_ICON, r.Get<WORD>());
        ASSERT_GE(strImage.size(), sizeof(BITMAPINFOHEADER));
        SReader image{strImage.data() + 4}; // its header agrees: square, image and mask
        EXPECT_EQ((std::tuple<LONG, LONG, WORD, WORD>{image.Get<LONG>(), image.Get<LONG>(),
                                                      image.Get<WORD>(), image.Get<WORD>()}),
                  std::make_tuple(nSize, 2 * nSize, 1, nBits));
        images.insert({nSize, nBits});
    }
    EXPECT_EQ(images,
              (std::set<std::pair<int, int>>{
                  {16, 8}, {16, 32}, {24, 8}, {24, 32}, {32, 8}, {32, 32}, {48, 8}, {48, 32}}));

    // The assembly's version is the project's in four numbers; KESTROW_ARCH is the build's
    // processor architecture.
    const std::string strManifest = Resource(MAKEINTRESOURCEA(24), 1);
    EXPECT_EQ(strManifest.find("<dependency>"), strManifest.rfind("<dependency>")) << "not one";
    const char* kManifestTexts[] = {
        "version=\"" KESTROW_PROJECT_VERSION ".0\" processorArchitecture=\"" KESTROW_ARCH "\"/>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
        "processorArchitecture=\"" KESTROW_ARCH "\" publicKeyToken=\"6595b64144ccf1df\" "
        "language=\"*\"/>",
        "WindowsSettings\">true</dpiAware>",
        "WindowsSettings\">PerMonitorV2</dpiAwareness>",
    };
    for (const auto& t : kManifestTexts) {
        EXPECT_NE(strManifest.find(t), std::string::npos) << t << " in " << strManifest;
    }
}

// Both executables carry the project's version, as numbers and as "1, 0, 0, 0" texts.
TEST(ProgramResources, VersionBlocksCarryTheProjectVersion) {
    unsigned nPart[3] = {};
    ASSERT_EQ(std::sscanf(KESTROW_PROJECT_VERSION, "%u.%u.%u", &nPart[0], &nPart[1], &nPart[2]), 3);
    const DWORD dwMs = nPart[0] << 16 | nPart[1];
    const DWORD dwLs = nPart[2] << 16;
    const std::string strVersion = std::to_string(nPart[0]) + ", " + std::to_string(nPart[1]) +
                                   ", " + std::to_string(nPart[2]) + ", 0";
    // The names and descriptions beside the version are the version block's own text.
    for (const std::string& strFile : {g_strExe, BesideSelf(KESTROW_SIGN_EXE_RELATIVE)}) {
        EXPECT_FALSE(Resource(RT_VERSION, 1, strFile).empty())
            << "no version block in language 1033 in " << strFile;
        const CWideText strPath(strFile.c_str());
        std::vector<char> block(GetFileVersionInfoSizeW(strPath, nullptr));
        ASSERT_TRUE(GetFileVersionInfoW(strPath, 0, block.size(), block.data())) << strFile;
        void* pValue = nullptr;
        UINT cbValue = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &pValue, &cbValue));
        EXPECT_EQ(std::vector<DWORD>(static_cast<DWORD*>(pValue), static_cast<DWORD*>(pValue) + 13),
                  (std::vector<DWORD>{0xFEEF04BD, 0x10000, dwMs, dwLs, dwMs, dwLs, 0x3F, 0, 4, 1, 0,
                                      0, 0}))
            << strFile;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &pValue, &cbValue));
        EXPECT_EQ(*reinterpret_cast<DWORD*>(pValue), 0x04B00409u) << "US English, Unicode";
        for (const char* pszName : {"FileVersion", "ProductVersion"}) {
            const std::string strName = std::string("\\StringFileInfo\\040904b0\\") + pszName;
            EXPECT_TRUE(
                VerQueryValueW(block.data(), CWideText(strName.c_str()), &pValue, &cbValue) &&
                strVersion == Utf8(static_cast<LPCWSTR>(pValue)))
                << strFile << ": " << pszName;
        }
    }
}

// The dialog's ways to close are the main dialog suite's; here the program's own exit.
TEST(Program, EndsWithStatusZeroWhenItsDialogCloses) {
    std::wstring strCommandLine = L"\"" + std::wstring(CWideText(g_strExe.c_str())) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    // Its dialog, once filled in (found among the top-level windows: the focus and the
    // activation are the display's, not this test's).
    HWND hDlg = nullptr;
    EXPECT_TRUE(PumpMessagesUntil(
        [&] {
            DWORD dwProcessId = 0;
            hDlg = FindWindowExW(nullptr, hDlg, L"#32770", nullptr);
            GetWindowThreadProcessId(hDlg, &dwProcessId);
            return dwProcessId == pi.dwProcessId &&
                   WindowText(GetDlgItem(hDlg, IDC_PREFIX)) == "UrlInfo";
        },
        30000));
    CloseDialog(hDlg, 2, IDCANCEL);
    DWORD dwExitCode = 99;
    EXPECT_TRUE(WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(pi.hProcess, &dwExitCode) && dwExitCode == 0)
        << "still running, or exit code " << dwExitCode;
    TerminateProcess(pi.hProcess, 99); // its handles go with this process
}
