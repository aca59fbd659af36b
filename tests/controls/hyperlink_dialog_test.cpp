// The home-page link of the main dialog from the keyboard (the About box's is the same
// control, its subclassing the main dialog suite's): Tab reaches it with a focus
// rectangle, Enter and Space open it. A recording helper registered for https stands in
// for the browser (see CMakeLists.txt).

#include "app/kestrow_demo_dlg.h"
#include "app/resource.h"
#include "controls/home_page.h"
#include "controls/hyperlink.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

CWinApp g_app; // stands in for theApp; its InitInstance never runs

namespace {

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
    for (int i = 0; i < rc.right * rc.bottom; ++i) {
        pixels.push_back(::GetPixel(hDC, i % rc.right, i / rc.right));
    }
    ::ReleaseDC(hWnd, hDC);
    return pixels;
}

// Where the link as painted now differs from plain: a bit for each edge of the client
// area with a difference (15: a rectangle along them), 16 for one inside.
int Differences(HWND hWnd, const std::vector<COLORREF>& plain) {
    const std::vector<COLORREF> now = Pixels(hWnd);
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    int nWhere = now.size() == plain.size() ? 0 : 16;
    for (int i = 0; nWhere < 16 && i < static_cast<int>(now.size()); ++i) {
        const int x = i % rc.right, y = i / rc.right;
        const int nEdges =
            (y == 0) | (y == rc.bottom - 1) << 1 | (x == 0) << 2 | (x == rc.right - 1) << 3;
        nWhere |= now[i] == plain[i] ? 0 : nEdges != 0 ? nEdges : 16;
    }
    return nWhere;
}

// A key pressed and released in the focused window; with Shift held when bShift.
void PressKey(HWND hFocus, WPARAM wKey, bool bShift = false) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = bShift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageW(hFocus, WM_KEYDOWN, wKey, 1);
    ::PostMessageW(hFocus, WM_KEYUP, wKey, 0xC0000001);
}

// Each step is checked in the next: the modal loop handles what a step posted in between.
class LinkDialogTest : public ::testing::Test {
protected:
    const std::string m_strRecord = BesideSelf("link_dialog_record.txt");
    const BOOL m_bRecordSet =
        ::SetEnvironmentVariableW(L"KESTROW_RECORD_FILE", CWideText(m_strRecord.c_str()));
    const std::string m_strHelper = "\"" + BesideSelf("record_command_line.exe") + "\"";
    const CClassesRootValue m_handler{"https\\shell\\open\\command", m_strHelper + " \"%1\""};
};

// Opened with the mouse, a dialog hides focus rectangles until the keyboard is used.
// Wine keeps no such state (it always shows them): the test sends the link what
// Windows sends the dialog's controls then and on the first key.
TEST_F(LinkDialogTest, TabReachesTheLinkWhichShowsItsFocusRectangleWhenCuesAreShown) {
    CKestrowDemoDlg dlg;
    std::vector<COLORREF> plain;
    HWND hBefore = nullptr;
    EXPECT_EQ(RunModalScript(
                  dlg, {[&](CDialog& d) {
                            ::SetActiveWindow(d.m_hWnd);
                            ::SetFocus(hBefore = ::GetDlgItem(d.m_hWnd, IDC_SAMPLE_URL));
                            plain = Pixels(Link(d));
                            ::SendMessageW(Link(d), WM_UPDATEUISTATE,
                                           MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
                            ::SetFocus(Link(d));
                            EXPECT_EQ(::GetFocus(), Link(d));
                            EXPECT_EQ(Differences(Link(d), plain), 0) << "shown with cues hidden";
                            ::SendMessageW(Link(d), WM_UPDATEUISTATE,
                                           MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
                            EXPECT_EQ(Differences(Link(d), plain), 15) << "not shown with the cues";
                            ::SetFocus(hBefore);
                            PressKey(hBefore, VK_TAB);
                        },
                        [&](CDialog& d) {
                            EXPECT_EQ(::GetFocus(), Link(d));
                            EXPECT_EQ(Differences(Link(d), plain), 15);
                            PressKey(Link(d), VK_TAB, true);
                        },
                        [&](CDialog& d) {
                            EXPECT_EQ(::GetFocus(), hBefore) << "Shift+Tab goes back";
                            EXPECT_EQ(Differences(Link(d), plain), 0) << "the rectangle stayed";
                            d.EndDialog(IDCANCEL);
                        }}),
              IDCANCEL);
}

// Enter and Space open the link as a click does, and nothing else: the dialog goes on
// without "&Generate" pressed.
TEST_F(LinkDialogTest, EnterAndSpaceOpenTheLinkAsAClickDoes) {
    for (const WPARAM wKey : {VK_RETURN, VK_SPACE}) {
        SCOPED_TRACE(wKey);
        CKestrowDemoDlg dlg;
        const auto Visited = [](const CDialog& d) {
            return static_cast<CHyperLink*>(CWnd::FromHandlePermanent(Link(d)))->m_bLinkVisited;
        };
        EXPECT_EQ(RunModalScript(
                      dlg, {[&](CDialog& d) {
                                EXPECT_FALSE(Visited(d));
                                ::SetFocus(Link(d));
                                PressKey(Link(d), wKey);
                            },
                            [&](CDialog& d) {
                                EXPECT_EQ(TakeRecord(m_strRecord),
                                          m_strHelper + " \"" KESTROW_HOME_PAGE_URL "\"");
                                EXPECT_TRUE(Visited(d));
                                EXPECT_EQ(WindowText(::GetDlgItem(d.m_hWnd, IDC_TIMESTAMP)), "");
                                d.EndDialog(IDCANCEL);
                            }}),
                  IDCANCEL);
    }
}

} // namespace
