// The hyperlink control and its launcher on real windows under Wine, with the real shell
// and registry; a recording helper stands in for the browser. HyperLink* tests move the
// shared pointer, Link* tests also write HKEY_CLASSES_ROOT (see CMakeLists.txt).

#include "controls/hyperlink.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/replacement_allocator.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <tuple>

namespace {

constexpr COLORREF kLink = RGB(0, 0, 238), kVisited = RGB(85, 26, 139), kHover = RGB(255, 0, 0);
constexpr char kUrl[] = "https://www.example.com/kestrow/";
// A scheme that nothing handles: the shell fails with SE_ERR_NOASSOC. Its page is named in
// text that no code page holds, which must reach the started command whole.
const std::string kNoScheme = "kestrow-test-noscheme:" + kWorldText;
const std::string kClass = "KestrowTest.WebPage";
constexpr char kRecord[] = "link-record.txt";
const std::string kHelper = "\"record_command_line.exe\""; // found beside this program
const std::string kOpened = kHelper + "  " + kNoScheme;    // what it records for a link

// Far from the system font, so that measuring in the wrong font shows.
HFONT TestFont(BOOL bUnderline) {
    return ::CreateFontW(-20, 0, 0, 0, FW_NORMAL, FALSE, bUnderline, FALSE, DEFAULT_CHARSET, 0, 0,
                         NONANTIALIASED_QUALITY, 0, L"Tahoma");
}

const HFONT g_hFont = TestFont(FALSE), g_hUnderlined = TestFont(TRUE);

// A framework window, so that it reflects its controls' messages back to them. It stays:
// Wine without a window manager takes seconds to take a shown window down. Its client
// area starts at (100, 80) on the screen.
HWND Host() {
    static CWnd* const pWnd = new CWnd;
    if (pWnd->m_hWnd == nullptr) {
        pWnd->CreateEx(0, "#32770", "", WS_POPUP | WS_VISIBLE, 100, 80, 640, 400, nullptr, nullptr);
    }
    return pWnd->m_hWnd;
}

// The size of a line of text in hFont (nullptr: a device context's own font).
SIZE TextSize(const std::string& str, HFONT hFont) {
    SIZE size{};
    HDC hDC = ::CreateCompatibleDC(nullptr);
    ::SelectObject(hDC, hFont);
    const CWideText strWide(str.c_str());
    ::GetTextExtentPoint32W(hDC, strWide, static_cast<int>(strWide.GetLength()), &size);
    ::DeleteDC(hDC);
    return size;
}

// Whether the window lies at rc in the host's client area.
bool IsAt(HWND hWnd, const RECT& rc) {
    RECT rcNow{};
    ::GetWindowRect(hWnd, &rcNow);
    ::OffsetRect(&rcNow, -100, -80);
    return ::EqualRect(&rcNow, &rc);
}

// Whether the tool tip has one tool: the window's client area, with strText as its tip.
bool TipIs(const CHyperLink& link, HWND hWnd, const std::string& strText) {
    wchar_t szTip[80] = L"unread";
    TTTOOLINFOW ti{TTTOOLINFOW_V2_SIZE, 0, nullptr, 0, {}, nullptr, szTip, 0, nullptr};
    ::SendMessageW(link.m_tipCtrl.m_hWnd, TTM_ENUMTOOLSW, 0, LPARAM(&ti));
    RECT rcClient{};
    ::GetClientRect(hWnd, &rcClient);
    return ::SendMessageW(link.m_tipCtrl.m_hWnd, TTM_GETTOOLCOUNT, 0, 0) == 1 && ti.hwnd == hWnd &&
           ::EqualRect(&ti.rect, &rcClient) && Utf8(szTip) == strText;
}

HGDIOBJ FontOf(HWND hWnd) {
    return reinterpret_cast<HGDIOBJ>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
}

// The text colour the control answers its parent's WM_CTLCOLORSTATIC with, provided it
// draws transparently on the null brush (else CLR_INVALID).
COLORREF TextColour(HWND hWnd) {
    HDC hDC = ::GetDC(hWnd);
    const LRESULT lBrush = ::SendMessageW(Host(), WM_CTLCOLORSTATIC, WPARAM(hDC), LPARAM(hWnd));
    const COLORREF clr = ::GetBkMode(hDC) == TRANSPARENT ? ::GetTextColor(hDC) : CLR_INVALID;
    ::ReleaseDC(hWnd, hDC);
    return lBrush == LRESULT(::GetStockObject(NULL_BRUSH)) ? clr : CLR_INVALID;
}

// Whether the hover timer's tick becomes due within dwMs (it is left in the queue).
bool TimerTicks(HWND hWnd, DWORD dwMs) {
    MSG msg;
    for (; !::PeekMessageW(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) && dwMs >= 10; dwMs -= 10) {
        ::Sleep(10);
    }
    return ::PeekMessageW(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE);
}

// A tick of the hover timer with the real pointer at (x, y) from the control's top left;
// posted, so that it carries the pointer position.
void TickAt(HWND hWnd, int x, int y) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    ::SetCursorPos(rc.left += x, rc.top += y);
    POINT pt{};
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return ::GetCursorPos(&pt) && pt.x == rc.left && pt.y == rc.top; }));
    ::PostMessageW(hWnd, WM_TIMER, 100, 0);
    PumpMessagesUntil([] { return true; });
}

class HyperLinkTest : public ::testing::Test {
protected:
    ~HyperLinkTest() override { ::DestroyWindow(m_hStatic); }

    // A static control 1006 as the dialogs have it, in the test font, bound to link (and
    // set up by it, unless bSetUp is false).
    HWND Bind(CHyperLink& link, const std::string& strText = kUrl, DWORD dwStyle = 0,
              RECT rc = {20, 30, 520, 90}, bool bSetUp = true) {
        m_hStatic = ::CreateWindowW(
            L"STATIC", CWideText(strText.c_str()), WS_CHILD | WS_VISIBLE | dwStyle, rc.left, rc.top,
            rc.right - rc.left, rc.bottom - rc.top, Host(), HMENU(INT_PTR{1006}), nullptr, nullptr);
        ::SendMessageW(m_hStatic, WM_SETFONT, WPARAM(g_hFont), FALSE);
        EXPECT_TRUE(bSetUp ? link.SubclassWindow(m_hStatic) : link.Attach(m_hStatic));
        return m_hStatic;
    }

    CHyperLink m_link;
    HWND m_hStatic = nullptr;
};

// The plain left-aligned link is the layout suite's, in the program's dialogs. Text that no
// code page holds is measured as it is drawn, its tool tip whole.
TEST_F(HyperLinkTest, FitsToTheUnderlinedTextKeepingItsAlignmentWithTheUrlAsToolTip) {
    const SIZE s = TextSize(kUrl, g_hUnderlined), e = TextSize("", g_hUnderlined);
    const SIZE w = TextSize(kWorldText, g_hUnderlined);
    const LONG d = (101 - s.cy) / 2;
    const std::tuple<std::string, DWORD, RECT, RECT> cases[] = {
        {kWorldText, WS_BORDER, {20, 30, 520, 90}, {20, 30, 22 + w.cx, 32 + w.cy}},
        {kUrl, SS_RIGHT, {20, 30, 520, 90}, {520 - s.cx, 30, 520, 30 + s.cy}},
        // An odd excess of 5 pixels shrinks by 2 on each side; 5 short grows by 2.
        {kUrl, SS_CENTER, {20, 30, 25 + s.cx, 90}, {22, 30, 23 + s.cx, 30 + s.cy}},
        {kUrl, SS_CENTER, {200, 30, 195 + s.cx, 90}, {198, 30, 197 + s.cx, 30 + s.cy}},
        {kUrl, SS_CENTERIMAGE, {20, 30, 520, 131}, {20, 30 + d, 20 + s.cx, 131 - d}},
        {"", 0, {20, 30, 520, 90}, {20, 30, 20 + e.cx, 30 + e.cy}},
    };
    for (const auto& [strText, dwStyle, rcGiven, rcFitted] : cases) {
        CHyperLink link;
        HWND hWnd = Bind(link, strText, dwStyle, rcGiven);
        EXPECT_TRUE(IsAt(hWnd, rcFitted)) << dwStyle;
        EXPECT_TRUE(link.m_strLinkUrl == strText.c_str() && TipIs(link, hWnd, strText) &&
                    (::GetWindowLongW(hWnd, GWL_STYLE) & SS_NOTIFY));
        ::DestroyWindow(hWnd);
    }
}

// Without fonts of its own the control keeps its font and is measured in the DC's own.
TEST_F(HyperLinkTest, WithoutFontsKeepsTheControlsFont) {
    HWND hWnd = Bind(m_link, kUrl, 0, {20, 30, 520, 90}, false);
    m_link.SetUnderlineMode(CHyperLink::UnderlineAlways);
    EXPECT_EQ(FontOf(hWnd), g_hFont);
    m_link.FitToText();
    const SIZE size = TextSize(kUrl, nullptr);
    EXPECT_TRUE(IsAt(hWnd, {20, 30, 20 + size.cx, 30 + size.cy}));
    m_link.Detach();
}

TEST_F(HyperLinkTest, HoverFollowsThePointerInEachUnderlineMode) {
    // Mode, whether underlined with the pointer over the link and away from it.
    const std::tuple<int, bool, bool> modes[] = {{CHyperLink::UnderlineOnHover, true, false},
                                                 {CHyperLink::UnderlineNever, false, false},
                                                 {CHyperLink::UnderlineAlways, true, true}};
    for (const auto& [nMode, bUnderlinedOver, bUnderlinedAway] : modes) {
        SCOPED_TRACE(nMode);
        CHyperLink link;
        HWND hWnd = Bind(link);
        const HGDIOBJ hFonts[] = {link.m_fontNormal.GetSafeHandle(),
                                  link.m_fontUnderlined.GetSafeHandle()};
        link.SetUnderlineMode(nMode);
        // The default mode starts in the control's own font.
        EXPECT_EQ(FontOf(hWnd),
                  nMode == CHyperLink::UnderlineOnHover ? g_hFont : hFonts[bUnderlinedAway]);
        EXPECT_FALSE(TimerTicks(hWnd, 250));
        ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(link.m_bHovering && FontOf(hWnd) == hFonts[bUnderlinedOver]);
        EXPECT_TRUE(TextColour(hWnd) == kHover && TimerTicks(hWnd, 10000));
        TickAt(hWnd, 1, 1);
        EXPECT_TRUE(link.m_bHovering && FontOf(hWnd) == hFonts[bUnderlinedOver] &&
                    TimerTicks(hWnd, 10000));
        TickAt(hWnd, -1, 1);
        EXPECT_TRUE(!link.m_bHovering && FontOf(hWnd) == hFonts[bUnderlinedAway] &&
                    TextColour(hWnd) == kLink);
        EXPECT_FALSE(TimerTicks(hWnd, 300)) << "the hover timer should be killed";
        ::DestroyWindow(hWnd);
    }
}

// A dialog moved to a display of another DPI gives its controls a new font.
TEST_F(HyperLinkTest, RebuildsItsFontsFromANewFontAndFitsItselfAgain) {
    LOGFONTW lfLarger{};
    ::GetObjectW(g_hFont, sizeof lfLarger, &lfLarger);
    lfLarger.lfHeight = -30;
    for (const bool bHovering : {false, true}) {
        SCOPED_TRACE(bHovering);
        CHyperLink link;
        HWND hWnd = Bind(link);
        if (bHovering) {
            ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        }
        const HGDIOBJ hOld[] = {link.m_fontNormal.GetSafeHandle(),
                                link.m_fontUnderlined.GetSafeHandle()};
        ::UpdateWindow(hWnd); // painted, so that a repaint due is the new font's
        const HFONT hLarger = ::CreateFontIndirectW(&lfLarger);
        ::SendMessageW(hWnd, WM_SETFONT, WPARAM(hLarger), TRUE);
        for (const bool bUnderlined : {false, true}) {
            LOGFONTW lf{};
            CFont& font = bUnderlined ? link.m_fontUnderlined : link.m_fontNormal;
            ASSERT_EQ(::GetObjectW(font.GetSafeHandle(), sizeof lf, &lf), int{sizeof lf});
            EXPECT_TRUE(lf.lfHeight == -30 && lf.lfUnderline == bUnderlined &&
                        std::wstring(lf.lfFaceName) == lfLarger.lfFaceName);
            EXPECT_EQ(::GetObjectType(hOld[bUnderlined]), 0u) << "the old font is left";
        }
        EXPECT_EQ(FontOf(hWnd), bHovering ? link.m_fontUnderlined.GetSafeHandle() : hLarger);
        const SIZE size = TextSize(kUrl, link.m_fontUnderlined);
        EXPECT_TRUE(IsAt(hWnd, {20, 30, 20 + size.cx, 30 + size.cy}));
        EXPECT_TRUE(TipIs(link, hWnd, kUrl)) << "the tool tip keeps the old size";
        EXPECT_TRUE(::GetUpdateRect(hWnd, nullptr, FALSE)) << "a repaint should be due";
        // Leaving (any tick runs it) brings the plain copy of the new font.
        TickAt(hWnd, -1, 1);
        EXPECT_EQ(FontOf(hWnd), link.m_fontNormal.GetSafeHandle());
        ::DestroyWindow(hWnd);
        ::DeleteObject(hLarger);
    }
}

// A private copy of the system's hand (the help program has none under Wine): destroying
// it fails when it is the shared one.
TEST_F(HyperLinkTest, HandCursorIsAPrivateCopyShownOverTheLinkAndReleasedWithIt) {
    std::optional<CHyperLink> link(std::in_place);
    HWND hWnd = Bind(*link);
    const HCURSOR hCopy = link->m_hHandCursor;
    EXPECT_TRUE(hCopy != nullptr && ::SendMessageW(hWnd, WM_SETCURSOR, WPARAM(hWnd), HTCLIENT));
    EXPECT_EQ(::GetCursor(), hCopy);
    link.reset();
    EXPECT_FALSE(::DestroyCursor(hCopy)) << "already destroyed";
    // Without a cursor the message is left to the default handling.
    link.emplace();
    ASSERT_TRUE(link->SubclassWindow(hWnd));
    ::DestroyCursor(link->m_hHandCursor);
    link->m_hHandCursor = nullptr;
    EXPECT_FALSE(::SendMessageW(hWnd, WM_SETCURSOR, WPARAM(hWnd), HTCLIENT));
}

std::wstring Wide(const std::string& str) {
    return std::wstring(CWideText(str.c_str()));
}

// strValue as strKey's default value, with its terminating zero unless bNoZero.
bool SetDefault(const std::string& strKey, const std::wstring& strValue, DWORD dwType = REG_SZ,
                bool bNoZero = false) {
    const DWORD cb = static_cast<DWORD>((strValue.size() + !bNoZero) * sizeof(wchar_t));
    return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, Wide(strKey).c_str(), nullptr, dwType,
                             strValue.c_str(), cb) == ERROR_SUCCESS;
}

// The prefix is the build's own: every test starts and ends without a web-page class.
class LinkLauncherTest : public HyperLinkTest {
protected:
    LinkLauncherTest() { Reset(); }
    ~LinkLauncherTest() override { Reset(); }
    static void Reset() {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".htm");
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, Wide(kClass).c_str());
        ::DeleteFileW(Wide(kRecord).c_str());
        ::SetEnvironmentVariableW(L"KESTROW_RECORD_FILE", Wide(kRecord).c_str());
    }

    // Registers strCommand as the web pages' open command and launches strUrl, if any.
    int Launch(const std::string& strCommand, const std::string& strUrl = kNoScheme) {
        EXPECT_TRUE(SetDefault(".htm", Wide(kClass)) &&
                    SetDefault(kClass + std::string("\\shell\\open\\command"), Wide(strCommand)));
        return strUrl.empty() ? 0 : m_link.LaunchLink(strUrl.c_str(), SW_SHOWNOACTIVATE);
    }
};

// Only a whole REG_SZ text shorter than MAX_PATH, and Unicode, is read; anything else leaves
// the output.
TEST_F(LinkLauncherTest, ReaderGivesWholeTextsOnly) {
    const std::wstring s259(259, L'v'), s260(260, L'v');
    // Key, value (empty: none), its type, whether stored without its zero, and what is read.
    const std::tuple<const char*, std::wstring, DWORD, bool, std::string> cases[] = {
        {"KestrowTest.WebPage\\a", s259, REG_SZ, false, std::string(259, 'v')},
        {"KestrowTest.WebPage\\b", L"abc", REG_SZ, true, "abc"},
        {"KestrowTest.WebPage\\c", s260, REG_SZ, false, "refused"},
        {"KestrowTest.WebPage\\d\\e", L"abc", REG_BINARY, false, "refused"},
        {"KestrowTest.WebPage\\d", L"", REG_SZ, false, "refused"}, // no default value
        {"KestrowTest.WebPage\\g", L"half \xD83D", REG_SZ, false, "refused"},
    };
    for (const auto& [pszKey, strValue, dwType, bNoZero, strRead] : cases) {
        ASSERT_TRUE(strValue.empty() || SetDefault(pszKey, strValue, dwType, bNoZero));
        CString strOut("refused");
        const LONG lStatus = CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, pszKey, strOut);
        EXPECT_EQ(lStatus == ERROR_SUCCESS, strRead != "refused") << pszKey;
        EXPECT_EQ(strOut.str(), strRead) << pszKey;
    }
}

// A copy of the recording helper in a folder whose name no code page holds, quoted.
std::string HelperInWorldFolder() {
    const std::string strFolder = BesideSelf(("helper " + kWorldText).c_str());
    ::CreateDirectoryW(Wide(strFolder).c_str(), nullptr);
    ::CopyFileW(Wide(BesideSelf("record_command_line.exe")).c_str(),
                Wide(strFolder + "\\record_command_line.exe").c_str(), FALSE);
    return "\"" + strFolder + "\\record_command_line.exe\"";
}

// When the shell knows no handler, the registered command is started, cut at its
// placeholder, with the URL unquoted.
TEST_F(LinkLauncherTest, ShellFailsThenTheRegisteredCommandStarts) {
    EXPECT_EQ(m_link.LaunchLink(kNoScheme.c_str(), SW_SHOWNOACTIVATE), SE_ERR_NOASSOC);
    ASSERT_TRUE(SetDefault(".htm", Wide(kClass))); // a class without open command
    EXPECT_EQ(m_link.LaunchLink(kNoScheme.c_str(), SW_SHOWNOACTIVATE), SE_ERR_NOASSOC);
    EXPECT_EQ(Launch(""), ERROR_FILE_NOT_FOUND); // " URL": the URL is the program

    // Cut command, space, URL and zero filling the 520-byte buffer start; one more does not.
    const std::string strFits =
        kNoScheme + std::string(2 * MAX_PATH - 3 - kHelper.size() - kNoScheme.size(), 'p');
    // The helper, the arguments after it, what is left of them (nullptr: not started), and
    // the URL; how the command is cut is the launch command's own test.
    const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
        {HelperInWorldFolder(), " %1", "  ", kNoScheme},
        {kHelper, " \"%1\" -tail", "  ", strFits},    // just fits
        {kHelper, " \"%1\"", nullptr, strFits + "p"}, // one byte too long
    };
    for (const auto& [strHelper, pszArguments, pszCut, strUrl] : cases) {
        EXPECT_EQ(Launch(strHelper + pszArguments, strUrl) > 32, pszCut != nullptr) << strHelper;
        EXPECT_EQ(TakeRecord(kRecord, pszCut ? 20000 : 1500),
                  pszCut ? strHelper + pszCut + strUrl : "(none)");
    }
}

TEST_F(LinkLauncherTest, ClickMarksTheLinkVisitedOrExplainsTheFailure) {
    m_link.m_strLinkUrl = kNoScheme;
    HWND hWnd = Bind(m_link, "Home page");
    m_link.m_bLinkVisited = m_link.m_bHovering = TRUE;
    CMessageBoxWatcher watcher;
    ::SendMessageW(Host(), WM_COMMAND, MAKEWPARAM(1006, STN_CLICKED), LPARAM(hWnd));
    EXPECT_FALSE(m_link.m_bLinkVisited || m_link.m_bHovering);
    // The click shows the first; the others are asked for directly.
    const std::pair<int, const char*> codes[] = {
        {31, "There is no application associated\nwith the given filename extension."},
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {4, "Unknown Error (4) occurred."},
        {26, "A sharing violation occurred. "},
    };
    for (std::size_t i = 1; i < std::size(codes); ++i) {
        m_link.ShowLaunchError(codes[i].first);
    }

    Launch(kHelper + " %1", "");
    ::UpdateWindow(hWnd); // painted, so that a repaint due after the click is its own
    ::SendMessageW(Host(), WM_COMMAND, MAKEWPARAM(1006, STN_CLICKED), LPARAM(hWnd));
    EXPECT_TRUE(m_link.m_bLinkVisited && ::GetUpdateRect(hWnd, nullptr, FALSE));
    EXPECT_EQ(TextColour(hWnd), kVisited);
    EXPECT_EQ(TakeRecord(kRecord), kOpened);
    m_link.m_bHovering = TRUE;
    EXPECT_EQ(TextColour(hWnd), kHover); // over the visited colour

    // No box for the successful click.
    const std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(boxes.size(), std::size(codes));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].strText, "Unable to open hyperlink:\n\n" + std::string(codes[i].second));
        EXPECT_TRUE(boxes[i].HasSystemIcon(IDI_EXCLAMATION) &&
                    boxes[i].buttons == std::vector{IDOK});
    }
}

// Waits on another thread for the pop-up menu, records its items and where it shows,
// and picks the item nItem: with its access key, or with a real click when bMouse.
using MenuSeen = std::pair<std::vector<std::string>, POINT>; // items, top left
std::future<MenuSeen> PickFromMenu(int nItem, bool bMouse) {
    return std::async(std::launch::async, [=] {
        MenuSeen seen;
        HWND hMenuWnd = nullptr;
        for (int i = 0; i < 1000 && !(hMenuWnd && ::IsWindowVisible(hMenuWnd)); ++i) {
            ::Sleep(10);
            hMenuWnd = ::FindWindowW(L"#32768", nullptr);
        }
        const auto hMenu = reinterpret_cast<HMENU>(::SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0));
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            wchar_t sz[64] = {};
            seen.first.push_back(Utf8(sz, ::GetMenuStringW(hMenu, i, sz, 64, MF_BYPOSITION)));
        }
        RECT rc{};
        ::GetWindowRect(hMenuWnd, &rc);
        seen.second = {rc.left, rc.top};
        if (bMouse && ::GetMenuItemRect(nullptr, hMenu, nItem, &rc)) {
            ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            ::mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        } else {
            ::PostMessageW(hMenuWnd, WM_CHAR, L"oc"[nItem], 1);
        }
        return seen;
    });
}

// The clipboard's Unicode text, in UTF-8, which must end at its terminator.
std::string ClipboardText() {
    std::string str = "(closed)";
    if (::OpenClipboard(nullptr)) {
        HANDLE hText = ::GetClipboardData(CF_UNICODETEXT);
        const auto* psz = hText ? static_cast<const wchar_t*>(::GlobalLock(hText)) : L"";
        const bool bWhole = !hText || ::GlobalSize(hText) == 2 * std::wcslen(psz) + 2;
        str = bWhole ? Utf8(psz) : "(sized wrong)";
        ::GlobalUnlock(hText); // nothing to unlock when nullptr
        ::CloseClipboard();
    }
    return str;
}

// The menu comes at the pointer for a right click and under the link from the keyboard
// (the menu key, Shift+F10); Open opens as a click does, Copy copies the URL.
TEST_F(LinkLauncherTest, ContextMenuOpensOrCopiesTheLink) {
    m_link.m_strLinkUrl = kNoScheme;
    HWND hWnd = Bind(m_link, "Home page");
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    const POINT ptUnder{rc.left, rc.bottom}, ptClick{rc.left + 5, rc.top + 3};
    // How the menu is asked for; the item picked (0 Open, 1 Copy) and whether by mouse.
    const std::tuple<UINT, WPARAM, POINT, int, bool> cases[] = {
        {WM_RBUTTONUP, 0, ptClick, 1, true},
        {WM_KEYUP, VK_APPS, ptUnder, 1, false},
        {WM_SYSKEYDOWN, VK_F10, ptUnder, 0, false},
    };
    for (const auto& [message, wKey, ptMenu, nItem, bMouse] : cases) {
        SCOPED_TRACE(message + 1000 * wKey);
        Launch(kHelper + " %1", "");
        ASSERT_TRUE(AfxSetClipboardText(nullptr, "before"));
        m_link.m_bLinkVisited = FALSE;
        BYTE keys[256] = {};
        keys[VK_SHIFT] = wKey == VK_F10 ? 0x80 : 0;
        ::SetKeyboardState(keys);
        std::future<MenuSeen> seen = PickFromMenu(nItem, bMouse);
        ::SendMessageW(hWnd, message, wKey, wKey ? 1 : MAKELPARAM(5, 3));
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
        const MenuSeen menu = seen.get();
        EXPECT_EQ(menu.first, (std::vector<std::string>{"&Open link", "&Copy link address"}));
        EXPECT_TRUE(menu.second.x == ptMenu.x && menu.second.y == ptMenu.y)
            << menu.second.x << ',' << menu.second.y;
        EXPECT_EQ(TakeRecord(kRecord, nItem == 0 ? 20000 : 1000), nItem == 0 ? kOpened : "(none)");
        EXPECT_EQ(m_link.m_bLinkVisited, nItem == 0);
        EXPECT_EQ(ClipboardText(), nItem == 1 ? kNoScheme : "before");
    }

    // Held open by another thread, the clipboard stays as it was.
    std::promise<void> opened, done;
    std::thread holder([&] {
        ::OpenClipboard(nullptr);
        opened.set_value();
        done.get_future().wait();
        ::CloseClipboard();
    });
    opened.get_future().wait();
    EXPECT_FALSE(m_link.CopyLinkAddress());
    done.set_value();
    holder.join();
    EXPECT_EQ(ClipboardText(), "before");
}

// What a screen reader gets for the link, through the system's entry point; out of memory,
// an error code, not an exception through COM.
TEST_F(LinkLauncherTest, ScreenReadersSeeALinkThatOpensAndGoesWithTheWindow) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    m_link.m_strLinkUrl = kNoScheme;
    HWND hWnd = Bind(m_link, kWorldText);
    Launch(kHelper + " %1", "");
    IAccessible* pAcc = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(hWnd, OBJID_CLIENT, IID_IAccessible,
                                           reinterpret_cast<void**>(&pAcc)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto Text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*pfn)(VARIANT, BSTR*)) {
        BSTR bstr = nullptr;
        const HRESULT hr = (pAcc->*pfn)(self, &bstr);
        const std::string str =
            hr == S_OK && bstr ? Utf8(bstr) : "(failed " + std::to_string(hr) + ")";
        ::SysFreeString(bstr);
        return str;
    };
    const auto Number = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*pfn)(VARIANT, VARIANT*)) {
        VARIANT var{};
        return (pAcc->*pfn)(self, &var) == S_OK && var.vt == VT_I4 ? var.lVal : -1L;
    };
    EXPECT_EQ(Number(&IAccessible::get_accRole), ROLE_SYSTEM_LINK);
    EXPECT_EQ(Text(&IAccessible::get_accName), kWorldText);
    EXPECT_EQ(Text(&IAccessible::get_accValue), kNoScheme);
    FailAllocationAfter(0);
    const std::string strOutOfMemory = Text(&IAccessible::get_accName);
    FailAllocationAfter(-1);
    EXPECT_EQ(strOutOfMemory, "(failed " + std::to_string(E_OUTOFMEMORY) + ")");
    EXPECT_EQ(Text(&IAccessible::get_accDefaultAction), "Jump");
    const LONG nLink = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
    EXPECT_EQ(Number(&IAccessible::get_accState), nLink);
    ::SetFocus(hWnd);
    EXPECT_EQ(Number(&IAccessible::get_accState), nLink | STATE_SYSTEM_FOCUSED);
    ::SetFocus(nullptr);

    EXPECT_EQ(pAcc->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(PumpMessagesUntil([&] { return m_link.m_bLinkVisited != FALSE; }));
    EXPECT_EQ(TakeRecord(kRecord), kOpened);
    EXPECT_EQ(Number(&IAccessible::get_accState), nLink | STATE_SYSTEM_TRAVERSED);

    // The window gone, the object answers nothing more about it.
    ::DestroyWindow(hWnd);
    EXPECT_EQ(Number(&IAccessible::get_accRole), -1L);
    EXPECT_EQ(Text(&IAccessible::get_accName),
              "(failed " + std::to_string(RPC_E_DISCONNECTED) + ")");
    pAcc->Release();
    ::CoUninitialize();
}

} // namespace
