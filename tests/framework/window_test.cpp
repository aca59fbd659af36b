// Windows under Wine: message maps chained to the base map, reflection of a parent's
// messages to its child controls, subclassing and Default(), and fonts.

#include <gtest/gtest.h>

#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

const UINT WM_TEST_BASE_ONLY = WM_APP + 1;
const UINT WM_TEST_BOTH = WM_APP + 2;

// A plain window of ours: a STATIC popup, created and bound by CreateEx.
class CBaseWnd : public CWnd {
public:
    std::vector<std::string> m_calls;
    BOOL Create() { return CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 99, 40, nullptr, nullptr); }

protected:
    afx_msg void OnTimer(UINT_PTR nID) { m_calls.push_back("timer " + std::to_string(nID)); }
    afx_msg LRESULT OnBaseOnly(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    afx_msg LRESULT OnBoth(WPARAM, LPARAM) { return 10; }
    afx_msg void OnCommandSeven() { m_calls.push_back("command 7"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_TIMER()
ON_MESSAGE(WM_TEST_BASE_ONLY, &CBaseWnd::OnBaseOnly)
ON_MESSAGE(WM_TEST_BOTH, &CBaseWnd::OnBoth)
ON_COMMAND(7, &CBaseWnd::OnCommandSeven)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    afx_msg LRESULT OnBoth(WPARAM, LPARAM) { return 20; }
    afx_msg void OnClickedNine() { m_calls.push_back("clicked 9"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_MESSAGE(WM_TEST_BOTH, &CDerivedWnd::OnBoth)
ON_BN_CLICKED(9, &CDerivedWnd::OnClickedNine)
END_MESSAGE_MAP()

TEST(MessageMapTest, DispatchesThroughTheChainAndTheDerivedEntryWins) {
    CDerivedWnd wnd;
    CBaseWnd base;
    ASSERT_TRUE(wnd.Create() && base.Create());
    EXPECT_EQ(42, wnd.SendMessage(WM_TEST_BASE_ONLY, 41)); // only in the base map
    EXPECT_EQ(20, wnd.SendMessage(WM_TEST_BOTH));
    EXPECT_EQ(10, base.SendMessage(WM_TEST_BOTH));
    for (CBaseWnd* pWnd : {static_cast<CBaseWnd*>(&wnd), &base}) {
        pWnd->SendMessage(WM_TIMER, 77);
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(9, BN_CLICKED)); // the derived entry only
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(7, 1)); // an accelerator routes like a menu
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(8, 0)); // no entry
        pWnd->SetWindowText("unmapped: the static's own procedure stores it");
        EXPECT_EQ("unmapped: the static's own procedure stores it", WindowText(*pWnd));
    }
    EXPECT_EQ((std::vector<std::string>{"timer 77", "clicked 9", "command 7"}), wnd.m_calls);
    EXPECT_EQ((std::vector<std::string>{"timer 77", "command 7"}), base.m_calls);
}

TEST(MessageMapTest, ObjectsAreFoundByHandleAndReleasedWithTheWindow) {
    CBaseWnd wnd;
    ASSERT_TRUE(wnd.Create());
    HWND hWnd = wnd.m_hWnd;
    EXPECT_EQ(&wnd, CWnd::FromHandle(hWnd));
    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(hWnd)); // one object per window
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    {
        CBaseWnd scoped;
        ASSERT_TRUE(scoped.Create());
        hWnd = scoped.m_hWnd;
    } // a window the framework created goes with its object
    EXPECT_FALSE(::IsWindow(hWnd));
}

// ---- Reflection and Default(): a dialog as the parent, a static control as the child ----

class CReflectingStatic : public CStatic {
public:
    bool m_bDecline = false; // answer the colour request with no brush
    int m_nClicks = 0;
    CBrush m_brush{RGB(10, 20, 30)};
    std::vector<std::string> m_texts;

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
        pDC->SetTextColor(RGB(1, 2, nCtlColor)); // CTLCOLOR_STATIC: 6
        return m_bDecline ? nullptr : static_cast<HBRUSH>(m_brush);
    }
    void OnClicked() { ++m_nClicks; }
    // Sees the text on its way, then lets the static control store it.
    afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam) {
        m_texts.push_back(reinterpret_cast<const char*>(lParam));
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT(STN_CLICKED, &CReflectingStatic::OnClicked)
ON_MESSAGE(WM_SETTEXT, &CReflectingStatic::OnSetText)
END_MESSAGE_MAP()

class CParentDialog : public CDialog {
public:
    CParentDialog() : CDialog(IDD_TEST_DIALOG) {}
    int m_nClicks = 0;
    int m_nDoubleClicks = 0;
    CBrush m_brush{RGB(200, 100, 50)};

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd*, UINT) {
        pDC->SetTextColor(RGB(4, 5, 6));
        return m_brush;
    }
    void OnLinkClicked() { ++m_nClicks; }
    void OnLinkDoubleClicked() { ++m_nDoubleClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentDialog, CDialog)
ON_WM_CTLCOLOR()
ON_CONTROL(STN_CLICKED, IDC_TEST_LINK, &CParentDialog::OnLinkClicked)
ON_CONTROL(STN_DBLCLK, IDC_TEST_LINK, &CParentDialog::OnLinkDoubleClicked)
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dlg.Create(IDD_TEST_DIALOG));
        m_hLink = ::GetDlgItem(m_dlg, IDC_TEST_LINK);
    }
    // The parent's answer to the colour request the static control sends when it paints.
    std::pair<HBRUSH, COLORREF> AskParentForColours() {
        HDC hDC = ::GetDC(m_hLink);
        ::SetTextColor(hDC, RGB(255, 255, 255));
        auto hBrush = reinterpret_cast<HBRUSH>(m_dlg.SendMessage(
            WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(m_hLink)));
        COLORREF clrText = ::GetTextColor(hDC);
        ::ReleaseDC(m_hLink, hDC);
        return {hBrush, clrText};
    }
    CParentDialog m_dlg;
    HWND m_hLink = nullptr;
};

TEST_F(ReflectionTest, TheChildsColourAnswerIsWhatTheParentReturnsElseItsOwn) {
    const auto parents = std::make_pair(static_cast<HBRUSH>(m_dlg.m_brush), RGB(4, 5, 6));
    CStatic plain; // no reflection entries
    ASSERT_TRUE(plain.SubclassWindow(m_hLink));
    EXPECT_EQ(parents, AskParentForColours());
    plain.UnsubclassWindow();
    CReflectingStatic link;
    ASSERT_TRUE(link.SubclassWindow(m_hLink));
    EXPECT_EQ(std::make_pair(static_cast<HBRUSH>(link.m_brush), RGB(1, 2, CTLCOLOR_STATIC)),
              AskParentForColours());
    link.m_bDecline = true;
    EXPECT_EQ(parents, AskParentForColours());
}

TEST_F(ReflectionTest, NotificationsGoToTheChildsEntryFirst) {
    ::SetWindowLongA(m_hLink, GWL_STYLE, ::GetWindowLongA(m_hLink, GWL_STYLE) | SS_NOTIFY);
    CReflectingStatic link;
    ASSERT_TRUE(link.SubclassWindow(m_hLink));
    // A real click: the static control notifies its parent, which reflects it.
    ::SendMessageA(m_hLink, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(m_hLink, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const LPARAM lParam = reinterpret_cast<LPARAM>(m_hLink);
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_LINK, STN_DBLCLK), lParam); // unmapped
    EXPECT_EQ(1, link.m_nClicks);
    EXPECT_EQ(0, m_dlg.m_nClicks);
    EXPECT_EQ(1, m_dlg.m_nDoubleClicks);
    link.UnsubclassWindow(); // without the child's object the parent's entry runs
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_LINK, STN_CLICKED), lParam);
    EXPECT_EQ(1, m_dlg.m_nClicks);
}

TEST_F(ReflectionTest, DefaultHandsTheCurrentMessageToThePreviousProcedure) {
    CReflectingStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LINK, &m_dlg));
    link.SetWindowText("first");
    ::SetDlgItemTextA(m_dlg, IDC_TEST_LINK, "second");
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), link.m_texts);
    EXPECT_EQ("second", WindowText(m_hLink));
    link.UnsubclassWindow();
    ::SetWindowTextA(m_hLink, "third"); // no longer seen
    EXPECT_EQ(2u, link.m_texts.size());
    EXPECT_EQ("third", WindowText(m_hLink));
}

TEST(FontTest, AFontOwnsWhatItCreatedAndATemporaryWrapperNothing) {
    LOGFONTA lf{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    HFONT hUnowned = ::CreateFontIndirectA(&lf);
    CFont::FromHandle(hUnowned);
    PumpMessagesFor(50); // idle time deletes the wrapper, never the font
    EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(hUnowned)));
    ::DeleteObject(hUnowned);
    HGDIOBJ hOwned = nullptr;
    {
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        hOwned = font.m_hObject;
        ASSERT_TRUE(font.CreateFontIndirect(&lf)); // replaces, deleting the first
        EXPECT_EQ(0u, ::GetObjectType(hOwned));
        hOwned = font.m_hObject;
    }
    EXPECT_EQ(0u, ::GetObjectType(hOwned)); // deleted with its object
}

} // namespace
