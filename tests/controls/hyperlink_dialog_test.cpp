// The home-page link of both dialogs from the keyboard: Tab reaches it with a focus
// rectangle, Enter and Space open it. A recording helper registered for https stands in
// for the browser (see CMakeLists.txt).

#include "app/about_dlg.h"
#include "app/kestrow_demo_dlg.h"
#include "app/resource.h"
#include "controls/home_page.h"
#include "controls/hyperlink.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

CWinApp g_app; // stands in for theApp; its InitInstance never runs

namespace {

constexpr char kCommandKey[] = "https\\shell\\open\\command";

// Each dialog with the control before its link in the tab order.
struct LinkDialog {
    const char* pszName;
    std::function<std::unique_ptr<CDialog>()> fnMake;
    int nBefore;
};
const LinkDialog kDialogs[] = {
    {"main", [] { return std::make_unique<CKestrowDemoDlg>(); }, IDC_SAMPLE_URL},
    {"About", [] { return std::make_unique<CAboutDlg>(); }, IDOK},
};

HWND Link(const CDialog& d) {
    return ::GetDlgItem(d.m_hWnd, IDC_HOME_LINK);
}

// The link's client area as painted now, row by row.
std::vector<COLORREF> Pixels(HWND hWnd) {
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    std::vector<COLORREF> pixels;
    HDC hDC = ::GetDC(hWnd);
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            pixels.push_back(::GetPixel(hDC, x, y));
        }
    }
    ::ReleaseDC(hWnd, hDC);
    return pixels;
}

// Whether now differs from plain exactly as a rectangle along the client area's edges
// does: on each of the four sides and nowhere inside.
bool ShowsFocusRectangle(HWND hWnd, const std::vector<COLORREF>& plain) {
    const std::vector<COLORREF> now = Pixels(hWnd);
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    int nSides = 0; // a bit for each edge that a difference lies on
    for (int i = 0; now.size() == plain.size() && i < static_cast<int>(now.size()); ++i) {
        const int x = i % rc.right, y = i / rc.right;
        const int nEdges =
            (y == 0) | (y == rc.bottom - 1) << 1 | (x == 0) << 2 | (x == rc.right - 1) << 3;
        if (now[i] != plain[i] && (nSides |= nEdges, nEdges == 0)) {
            return false;
        }
    }
    return nSides == 15;
}

// Whether the link counts as visited (the colour that follows is the control test's).
bool Visited(const CDialog& d) {
    return static_cast<CHyperLink*>(CWnd::FromHandlePermanent(Link(d)))->m_bLinkVisited;
}

// A key pressed and released in the focused window; with Shift held when bShift.
void PressKey(HWND hFocus, WPARAM wKey, bool bShift = false) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = bShift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageA(hFocus, WM_KEYDOWN, wKey, 1);
    ::PostMessageA(hFocus, WM_KEYUP, wKey, 0xC0000001);
}

// The dialog is run with steps, each checked in the next (the modal loop handles what
// a step posted in between).
class LinkDialogTest : public ::testing::Test {
protected:
    LinkDialogTest() {
        LONG cbOld = sizeof m_szOldCommand;
        m_bHadCommand =
            ::RegQueryValueA(HKEY_CLASSES_ROOT, kCommandKey, m_szOldCommand, &cbOld) == 0;
        ::SetEnvironmentVariableA("KESTROW_RECORD_FILE", m_strRecord.c_str());
        EXPECT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, kCommandKey, REG_SZ,
                                 (m_strHelper + " \"%1\"").c_str(), 0),
                  0);
    }
    ~LinkDialogTest() override {
        m_bHadCommand ? ::RegSetValueA(HKEY_CLASSES_ROOT, kCommandKey, REG_SZ, m_szOldCommand, 0)
                      : ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kCommandKey);
        ::DeleteFileA(m_strRecord.c_str());
    }

    // The command line the helper was started with; empty when it did not run.
    std::string Record() const {
        std::string str;
        for (int i = 0; i < 2000 && str.empty(); ++i) {
            ::Sleep(10);
            std::getline(std::ifstream(m_strRecord), str);
        }
        return str;
    }

    const std::string m_strRecord = BesideSelf("link_dialog_record.txt");
    const std::string m_strHelper = "\"" + BesideSelf("record_command_line.exe") + "\"";
    char m_szOldCommand[1024] = {};
    bool m_bHadCommand = false;
};

// Opened with the mouse, a dialog hides focus rectangles until the keyboard is used.
// Wine keeps no such state (it always shows them): the test sends the link what
// Windows sends the dialog's controls then and on the first key.
TEST_F(LinkDialogTest, TabReachesTheLinkWhichShowsItsFocusRectangleWhenCuesAreShown) {
    for (const LinkDialog& dialog : kDialogs) {
        SCOPED_TRACE(dialog.pszName);
        const std::unique_ptr<CDialog> pDlg = dialog.fnMake();
        std::vector<COLORREF> plain;
        HWND hBefore = nullptr;
        const ModalStep steps[] = {
            [&](CDialog& d) {
                ::SetActiveWindow(d.m_hWnd);
                hBefore = ::GetDlgItem(d.m_hWnd, dialog.nBefore);
                ::SetFocus(hBefore);
                plain = Pixels(Link(d));
                ::SendMessageA(Link(d), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
                ::SetFocus(Link(d));
                EXPECT_EQ(::GetFocus(), Link(d));
                EXPECT_EQ(Pixels(Link(d)), plain) << "a rectangle while cues are hidden";
                ::SendMessageA(Link(d), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
                EXPECT_TRUE(ShowsFocusRectangle(Link(d), plain)) << "not shown with the cues";
                ::SetFocus(hBefore);
                PressKey(hBefore, VK_TAB);
            },
            [&](CDialog& d) {
                EXPECT_EQ(::GetFocus(), Link(d));
                EXPECT_TRUE(ShowsFocusRectangle(Link(d), plain));
                PressKey(Link(d), VK_TAB, true);
            },
            [&](CDialog& d) {
                EXPECT_EQ(::GetFocus(), hBefore) << "Shift+Tab goes back";
                EXPECT_EQ(Pixels(Link(d)), plain) << "the rectangle stayed";
                d.EndDialog(IDCANCEL);
            },
        };
        EXPECT_EQ(RunModalScript(*pDlg, {std::begin(steps), std::end(steps)}), IDCANCEL);
    }
}

// Enter and Space open the link as a click does, and nothing else: the dialog goes on
// without "&Generate" or OK pressed.
TEST_F(LinkDialogTest, EnterAndSpaceOpenTheLinkAsAClickDoes) {
    for (const LinkDialog& dialog : kDialogs) {
        for (const WPARAM wKey : {VK_RETURN, VK_SPACE}) {
            SCOPED_TRACE(std::string(dialog.pszName) + " " + std::to_string(wKey));
            ::DeleteFileA(m_strRecord.c_str());
            const std::unique_ptr<CDialog> pDlg = dialog.fnMake();
            const ModalStep steps[] = {
                [&](CDialog& d) {
                    EXPECT_FALSE(Visited(d));
                    ::SetFocus(Link(d));
                    PressKey(Link(d), wKey);
                },
                [&](CDialog& d) {
                    EXPECT_EQ(Record(), m_strHelper + " \"" + KESTROW_HOME_PAGE_URL + "\"");
                    EXPECT_TRUE(Visited(d));
                    EXPECT_EQ(WindowText(::GetDlgItem(d.m_hWnd, IDC_TIMESTAMP)), "");
                    d.EndDialog(IDCANCEL);
                },
            };
            EXPECT_EQ(RunModalScript(*pDlg, {std::begin(steps), std::end(steps)}), IDCANCEL);
        }
    }
}

} // namespace
