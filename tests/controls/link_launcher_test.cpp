// The link launcher under Wine with the real shell and registry: the registry reader,
// the fallback to the command registered for web pages (started for real: a recording
// helper stands in for the browser), the outcome of a click and the error box.

#include "controls/hyperlink.h"
#include "tests/controls/link_host.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A scheme that nothing handles, so that the shell fails with SE_ERR_NOASSOC.
constexpr char kUrl[] = "kestrow-test-noscheme:page";
constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
constexpr COLORREF kHoverColour = RGB(255, 0, 0);
constexpr char kPrefix[] = "Unable to open hyperlink:\n\n";
constexpr char kNoAssociation[] =
    "There is no application associated\nwith the given filename extension.";

std::string ThisFolder() {
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of('\\') + 1);
}

std::string ReadFile(const std::string& strPath, bool* pbExists) {
    const HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    *pbExists = hFile != INVALID_HANDLE_VALUE;
    std::string str;
    if (*pbExists) {
        char buf[1024];
        DWORD cbRead = 0;
        while (::ReadFile(hFile, buf, sizeof(buf), &cbRead, nullptr) && cbRead > 0) {
            str.append(buf, cbRead);
        }
        ::CloseHandle(hFile);
    }
    return str;
}

class LinkLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, szTemp);
        m_strRecord = std::string(szTemp) + "kestrow-link-record-" +
                      std::to_string(::GetCurrentProcessId()) + ".txt";
        ::DeleteFileA(m_strRecord.c_str());
        ::SetEnvironmentVariableA("KESTROW_RECORD_FILE", m_strRecord.c_str());
        m_strHelper = "\"" + ThisFolder() + "record_command_line.exe\"";
    }

    void TearDown() override {
        ::DeleteFileA(m_strRecord.c_str());
        ::SetEnvironmentVariableA("KESTROW_RECORD_FILE", nullptr);
    }

    // The command line the helper was started with; "" when it did not run in time.
    std::string WaitForRecord(DWORD dwMs = 15000) {
        std::string str;
        PumpMessagesUntil(
            [&] {
                bool bExists = false;
                str = ReadFile(m_strRecord, &bExists);
                return bExists;
            },
            dwMs);
        return str;
    }

    bool NothingStarted() {
        ::Sleep(1500);
        bool bExists = false;
        ReadFile(m_strRecord, &bExists);
        return !bExists;
    }

    // The launch with the test class's open command set to strCommand.
    int Launch(const std::string& strCommand, const char* pszUrl = kUrl) {
        EXPECT_TRUE(m_registry.SetOpenCommand(strCommand));
        return m_link.LaunchLink(pszUrl, SW_SHOWNOACTIVATE);
    }

    std::string m_strRecord;
    std::string m_strHelper;
    CWebPageRegistry m_registry;
    CHyperLink m_link;
};

} // namespace

// ---- Registry reader ----

TEST_F(LinkLauncherTest, ReaderGivesTheDefaultText) {
    const std::string strValue = "KestrowTest.Class";
    ASSERT_TRUE(m_registry.SetDefaultValue("KestrowTest.Key", REG_SZ, strValue.c_str(),
                                           static_cast<DWORD>(strValue.size() + 1)));
    char szOut[MAX_PATH];
    std::memset(szOut, 'x', sizeof(szOut));
    EXPECT_EQ(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, "KestrowTest.Key", szOut),
              ERROR_SUCCESS);
    EXPECT_STREQ(szOut, "KestrowTest.Class");
}

TEST_F(LinkLauncherTest, ReaderTakesTheLongestTextThatFits) {
    const std::string strValue(MAX_PATH - 1, 'v');
    ASSERT_TRUE(m_registry.SetDefaultValue("KestrowTest.Key", REG_SZ, strValue.c_str(),
                                           static_cast<DWORD>(strValue.size() + 1)));
    char szOut[MAX_PATH];
    EXPECT_EQ(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, "KestrowTest.Key", szOut),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(szOut), strValue);
}

TEST_F(LinkLauncherTest, ReaderTerminatesTextStoredWithoutItsZero) {
    ASSERT_TRUE(m_registry.SetDefaultValue("KestrowTest.Key", REG_SZ, "abc", 3));
    char szOut[MAX_PATH];
    std::memset(szOut, 'x', sizeof(szOut));
    EXPECT_EQ(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, "KestrowTest.Key", szOut),
              ERROR_SUCCESS);
    EXPECT_STREQ(szOut, "abc");
}

TEST_F(LinkLauncherTest, ReaderWorksInPlace) {
    const std::string strValue = "KestrowTest.Other";
    ASSERT_TRUE(m_registry.SetDefaultValue("KestrowTest.Key", REG_SZ, strValue.c_str(),
                                           static_cast<DWORD>(strValue.size() + 1)));
    char szBuffer[2 * MAX_PATH] = "KestrowTest.Key";
    EXPECT_EQ(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, szBuffer, szBuffer), ERROR_SUCCESS);
    EXPECT_STREQ(szBuffer, "KestrowTest.Other");
}

// Every value the reader cannot give whole answers a failure and leaves the output.
TEST_F(LinkLauncherTest, ReaderRefusesWhatItCannotGiveWhole) {
    const std::string strTooLong(MAX_PATH, 'v');
    const std::string strMuchTooLong(3 * MAX_PATH, 'v');
    const DWORD dwNumber = 42;
    const char szExpand[] = "%SystemRoot%\\x.exe";
    struct Case {
        const char* pszName;
        DWORD dwType;
        const void* pData;
        DWORD cbData;
    } cases[] = {
        {"no default value", REG_SZ, nullptr, 0},
        {"260 characters", REG_SZ, strTooLong.c_str(), MAX_PATH + 1},
        {"260 characters without zero", REG_SZ, strTooLong.c_str(), MAX_PATH},
        {"780 characters", REG_SZ, strMuchTooLong.c_str(),
         static_cast<DWORD>(strMuchTooLong.size() + 1)},
        {"a number", REG_DWORD, &dwNumber, sizeof(dwNumber)},
        {"expandable text", REG_EXPAND_SZ, szExpand, sizeof(szExpand)},
        {"binary", REG_BINARY, "abc", 4},
    };
    for (const Case& c : cases) {
        const std::string strKey = std::string("KestrowTest.") + c.pszName;
        ASSERT_TRUE(m_registry.SetDefaultValue(strKey, c.dwType, c.pData, c.cbData)) << c.pszName;
        char szOut[MAX_PATH] = "untouched";
        EXPECT_NE(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, strKey.c_str(), szOut),
                  ERROR_SUCCESS)
            << c.pszName;
        EXPECT_STREQ(szOut, "untouched") << c.pszName;
    }
}

TEST_F(LinkLauncherTest, ReaderAnswersTheOpenErrorOfAMissingKey) {
    char szOut[MAX_PATH] = "untouched";
    EXPECT_EQ(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, "KestrowTest.NoSuchKey", szOut),
              ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(szOut, "untouched");
}

// ---- Launch: the shell, then the registered command ----

TEST_F(LinkLauncherTest, ShellKnowsNoHandlerForTheTestScheme) {
    ASSERT_TRUE(m_registry.RemoveWebPageClass());
    EXPECT_EQ(m_link.LaunchLink(kUrl, SW_SHOWNOACTIVATE), SE_ERR_NOASSOC);
    EXPECT_TRUE(NothingStarted());
}

// The registered command is started, cut at its placeholder, with the URL unquoted.
TEST_F(LinkLauncherTest, RegisteredCommandIsStartedCutAtItsPlaceholder) {
    const std::string strSpacedUrl = "kestrow-test-noscheme:a b  c";
    const struct {
        const char* pszCase;
        std::string strArguments; // after the helper's quoted path
        std::string strUrl;
        std::string strExpected; // after the helper's quoted path
    } cases[] = {
        {"quoted placeholder, opening quote cut too", " \"%1\"", kUrl, std::string("  ") + kUrl},
        {"bare placeholder", " %1", kUrl, std::string("  ") + kUrl},
        {"quoted found before a bare one", " -a %1 -b \"%1\" -c", kUrl,
         std::string(" -a %1 -b  ") + kUrl},
        {"arguments after the placeholder dropped", " \"%1\" -nohome -new-window", kUrl,
         std::string("  ") + kUrl},
        {"no placeholder", " -new", kUrl, std::string(" -new ") + kUrl},
        {"URL with spaces unquoted", " \"%1\"", strSpacedUrl, "  " + strSpacedUrl},
    };
    for (const auto& c : cases) {
        ::DeleteFileA(m_strRecord.c_str());
        EXPECT_GT(Launch(m_strHelper + c.strArguments, c.strUrl.c_str()), 32) << c.pszCase;
        EXPECT_EQ(WaitForRecord(), m_strHelper + c.strExpected) << c.pszCase;
    }
}

TEST_F(LinkLauncherTest, CommandLineOfExactlyTheBufferStartsAndOneMoreIsRefused) {
    // The registry gives at most 259 characters, so it takes a long URL to overflow.
    // cut command + space + URL + zero == 520:
    const std::string strCommand = m_strHelper + " ";
    const std::string strScheme = "kestrow-test-noscheme:";
    const std::string strFits =
        strScheme + std::string(2 * MAX_PATH - strCommand.size() - 1 - strScheme.size() - 1, 'p');
    EXPECT_GT(Launch(strCommand + "\"%1\" -tail", strFits.c_str()), 32);
    const std::string strRecord = WaitForRecord();
    EXPECT_EQ(strRecord.size(), 2u * MAX_PATH - 1);
    EXPECT_EQ(strRecord, strCommand + " " + strFits);

    ::DeleteFileA(m_strRecord.c_str());
    const std::string strTooLong = strFits + "p";
    EXPECT_EQ(Launch(strCommand + "\"%1\"", strTooLong.c_str()), SE_ERR_NOASSOC);
    EXPECT_TRUE(NothingStarted());
}

TEST_F(LinkLauncherTest, WithoutARegisteredCommandTheShellsCodeIsReturned) {
    ASSERT_TRUE(m_registry.RemoveWebPageClass());
    EXPECT_EQ(m_link.LaunchLink(kUrl, SW_SHOWNOACTIVATE), SE_ERR_NOASSOC);

    ASSERT_TRUE(m_registry.SetClassWithoutCommand());
    EXPECT_EQ(m_link.LaunchLink(kUrl, SW_SHOWNOACTIVATE), SE_ERR_NOASSOC);

    // A command value the reader refuses counts as none.
    ASSERT_TRUE(m_registry.SetOpenCommand(m_strHelper + " " + std::string(MAX_PATH, 'a')));
    EXPECT_EQ(m_link.LaunchLink(kUrl, SW_SHOWNOACTIVATE), SE_ERR_NOASSOC);
    EXPECT_TRUE(NothingStarted());
}

TEST_F(LinkLauncherTest, CommandThatDoesNotStartGivesTheStartersCode) {
    EXPECT_EQ(Launch("\"C:\\kestrow-no-such-folder\\browser.exe\" \"%1\""), ERROR_FILE_NOT_FOUND);
    // An empty command makes the URL the program, which does not exist either.
    EXPECT_EQ(Launch(""), ERROR_FILE_NOT_FOUND);
}

// ---- Click and error box ----

class LinkClickTest : public LinkLauncherTest {
protected:
    void SetUp() override {
        LinkLauncherTest::SetUp();
        m_link.m_strLinkUrl = kUrl;
        m_hStatic = m_host.AddStatic("Home page", 0, RECT{20, 30, 520, 90}, m_font.get());
        ASSERT_TRUE(m_link.SubclassWindow(m_hStatic));
        ::UpdateWindow(m_hStatic);
    }

    // STN_CLICKED as the control sends it to its parent.
    void Click() {
        ::SendMessageA(m_host.Parent(), WM_COMMAND, MAKEWPARAM(kLinkId, STN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hStatic));
    }

    FontPtr m_font = MakeFont(20);
    CLinkHost m_host;
    HWND m_hStatic = nullptr;
};

TEST_F(LinkClickTest, FailedClickShowsTheShellsErrorAndClearsVisited) {
    ASSERT_TRUE(m_registry.RemoveWebPageClass());
    m_link.m_bLinkVisited = TRUE;
    m_link.m_bHovering = TRUE;

    CMessageBoxWatcher watcher;
    Click();
    const std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, std::string(kPrefix) + kNoAssociation);
    EXPECT_TRUE(boxes[0].HasSystemIcon(IDI_EXCLAMATION));
    EXPECT_TRUE(boxes[0].HasButton(IDOK));
    EXPECT_FALSE(boxes[0].HasButton(IDCANCEL));
    EXPECT_FALSE(m_link.m_bLinkVisited);
    EXPECT_FALSE(m_link.m_bHovering);
}

TEST_F(LinkClickTest, CommandThatDoesNotStartShowsFileNotFound) {
    ASSERT_TRUE(m_registry.SetOpenCommand("\"C:\\kestrow-no-such-folder\\b.exe\" \"%1\""));
    CMessageBoxWatcher watcher;
    Click();
    const std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, std::string(kPrefix) + "The specified file was not found.");
    EXPECT_FALSE(m_link.m_bLinkVisited);
}

TEST_F(LinkClickTest, SuccessfulClickMarksVisitedAndRepaintsWithoutABox) {
    ASSERT_TRUE(m_registry.SetOpenCommand(m_strHelper + " \"%1\""));
    // Hovering, with its timer running; the real pointer rests over the link, so ticks
    // dispatched while the launch is awaited do not end the hovering and kill the timer.
    RECT rcLink{};
    ::GetWindowRect(m_hStatic, &rcLink);
    ::SetCursorPos(rcLink.left + 2, rcLink.top + 2);
    ASSERT_TRUE(PumpMessagesUntil([&] {
        POINT pt{};
        ::GetCursorPos(&pt);
        return pt.x == rcLink.left + 2 && pt.y == rcLink.top + 2;
    }));
    ::SendMessageA(m_hStatic, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    ::UpdateWindow(m_hStatic);
    ASSERT_TRUE(m_link.m_bHovering);

    CMessageBoxWatcher watcher;
    Click();
    EXPECT_TRUE(m_link.m_bLinkVisited);
    EXPECT_FALSE(m_link.m_bHovering);
    EXPECT_TRUE(::GetUpdateRect(m_hStatic, nullptr, FALSE)) << "a repaint should be due";
    EXPECT_EQ(WaitForRecord(), m_strHelper + "  " + kUrl);
    EXPECT_TRUE(watcher.Stop().empty());
    EXPECT_TRUE(IsDrawnIn(m_hStatic, kVisitedColour, kHoverColour));
    EXPECT_TRUE(TimerTicks(m_hStatic, 100)) << "a click leaves the hover timer running";
}

TEST_F(LinkClickTest, MouseClickOnTheControlLaunches) {
    ASSERT_TRUE(m_registry.SetOpenCommand(m_strHelper + " %1"));
    ::PostMessageA(m_hStatic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::PostMessageA(m_hStatic, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(WaitForRecord(), m_strHelper + "  " + kUrl);
    EXPECT_TRUE(PumpMessagesUntil([&] { return m_link.m_bLinkVisited != FALSE; }));
}

TEST(LinkErrorBoxTest, EachCodeHasItsText) {
    const struct {
        int nCode;
        const char* pszText;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {4, "Unknown Error (4) occurred."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE "
             "transactions\nwere being processed."},
        {31, kNoAssociation},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {33, "Unknown Error (33) occurred."},
        {-7, "Unknown Error (-7) occurred."},
        {-2147483647 - 1, "Unknown Error (-2147483648) occurred."},
    };
    CHyperLink link;
    CMessageBoxWatcher watcher;
    for (const auto& c : cases) {
        link.ShowLaunchError(c.nCode);
    }
    const std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(boxes.size(), std::size(cases));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].strText, std::string(kPrefix) + cases[i].pszText)
            << "code " << cases[i].nCode;
        EXPECT_TRUE(boxes[i].HasSystemIcon(IDI_EXCLAMATION)) << "code " << cases[i].nCode;
        EXPECT_EQ(boxes[i].buttons, std::vector<int>{IDOK}) << "code " << cases[i].nCode;
    }
}
