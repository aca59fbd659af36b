// Message maps under Wine with real windows: dispatch and chaining to the base map,
// reflection of a parent's messages to its child controls, subclassing and Default().

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/afx.h"
#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

const UINT WM_TEST_BASE_ONLY = WM_APP + 1;
const UINT WM_TEST_BOTH = WM_APP + 2;

// A plain window of ours: a STATIC popup, created and bound by CreateEx.
class CBaseWnd : public CWnd {
public:
    std::vector<std::string> m_calls;
    UINT_PTR m_nLastTimer = 0;
    BOOL Create() {
        return CreateEx(0, "STATIC", "base", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr);
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        m_calls.push_back("base timer");
        m_nLastTimer = nIDEvent;
    }
    afx_msg LRESULT OnBaseOnly(WPARAM wParam, LPARAM) {
        m_calls.push_back("base only");
        return static_cast<LRESULT>(wParam) + 1;
    }
    afx_msg LRESULT OnBoth(WPARAM, LPARAM) {
        m_calls.push_back("base both");
        return 10;
    }
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
    afx_msg LRESULT OnBoth(WPARAM, LPARAM) {
        m_calls.push_back("derived both");
        return 20;
    }
    afx_msg void OnClickedNine() { m_calls.push_back("clicked 9"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_MESSAGE(WM_TEST_BOTH, &CDerivedWnd::OnBoth)
ON_BN_CLICKED(9, &CDerivedWnd::OnClickedNine)
END_MESSAGE_MAP()

TEST(MessageMapTest, DispatchesThroughTheChainAndTheDerivedEntryWins) {
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.Create());

    EXPECT_EQ(42, wnd.SendMessage(WM_TEST_BASE_ONLY, 41)); // only in the base map
    EXPECT_EQ(20, wnd.SendMessage(WM_TEST_BOTH));          // both maps: derived wins
    wnd.SendMessage(WM_TIMER, 77);                         // ON_WM_TIMER of the base
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(7, 1), 0); // an accelerator routes like a menu
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(8, 0), 0); // no entry
    EXPECT_EQ((std::vector<std::string>{"base only", "derived both", "base timer", "clicked 9",
                                        "command 7"}),
              wnd.m_calls);
    EXPECT_EQ(77u, wnd.m_nLastTimer);

    CBaseWnd base;
    ASSERT_TRUE(base.Create());
    EXPECT_EQ(10, base.SendMessage(WM_TEST_BOTH));
    base.SendMessage(WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), 0); // the derived entry only
    EXPECT_EQ(std::vector<std::string>{"base both"}, base.m_calls);
}

TEST(MessageMapTest, UnmappedMessagesGetThePreviousWindowProcedure) {
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetWindowText("changed through the static's own procedure");
    CString strText;
    wnd.GetWindowText(strText);
    EXPECT_EQ("changed through the static's own procedure", strText);
    EXPECT_TRUE(wnd.m_calls.empty());
}

TEST(MessageMapTest, ObjectsAreFoundByHandleAndReleasedWithTheWindow) {
    HWND hWnd = nullptr;
    {
        CDerivedWnd wnd;
        ASSERT_TRUE(wnd.Create());
        hWnd = wnd.m_hWnd;
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hWnd));
        EXPECT_EQ(&wnd, CWnd::FromHandle(hWnd));

        CWnd other;
        EXPECT_FALSE(other.SubclassWindow(hWnd)); // one object per window
        EXPECT_EQ(nullptr, other.m_hWnd);

        EXPECT_TRUE(wnd.DestroyWindow());
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    }
    {
        CDerivedWnd wnd;
        ASSERT_TRUE(wnd.Create());
        hWnd = wnd.m_hWnd;
    } // a window the framework created goes with its object
    EXPECT_FALSE(::IsWindow(hWnd));
}

// ---- Reflection: a dialog as the parent, a static control as the child ----

const COLORREF kChildText = RGB(1, 2, 3);
const COLORREF kParentText = RGB(4, 5, 6);

class CReflectingStatic : public CStatic {
public:
    bool m_bDecline = false; // answer the colour request with no brush
    int m_nClicks = 0;
    UINT m_nCtlType = 0;
    CBrush m_brush{RGB(10, 20, 30)};

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
        m_nCtlType = nCtlColor;
        if (m_bDecline) {
            return nullptr;
        }
        pDC->SetTextColor(kChildText);
        return m_brush;
    }
    void OnClicked() { ++m_nClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT(STN_CLICKED, &CReflectingStatic::OnClicked)
END_MESSAGE_MAP()

class CParentDialog : public CDialog {
public:
    explicit CParentDialog(bool bParentColours)
        : CDialog(IDD_TEST_DIALOG), m_bParentColours(bParentColours) {}
    bool m_bParentColours;
    int m_nParentClicks = 0;
    int m_nParentDoubleClicks = 0;
    CBrush m_brush{RGB(200, 100, 50)};

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        if (!m_bParentColours) {
            return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        }
        pDC->SetTextColor(kParentText);
        return m_brush;
    }
    void OnLinkClicked() { ++m_nParentClicks; }
    void OnLinkDoubleClicked() { ++m_nParentDoubleClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentDialog, CDialog)
ON_WM_CTLCOLOR()
ON_CONTROL(STN_CLICKED, IDC_TEST_LINK, &CParentDialog::OnLinkClicked)
ON_CONTROL(STN_DBLCLK, IDC_TEST_LINK, &CParentDialog::OnLinkDoubleClicked)
END_MESSAGE_MAP()

// Sends the parent the colour request that the static control sends when it paints.
struct ColourAnswer {
    HBRUSH hBrush;
    COLORREF clrText;
};
ColourAnswer AskParentForColours(HWND hDlg, HWND hCtl) {
    HDC hDC = ::GetDC(hCtl);
    ::SetTextColor(hDC, RGB(255, 255, 255));
    auto hBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
        hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hCtl)));
    COLORREF clrText = ::GetTextColor(hDC);
    ::ReleaseDC(hCtl, hDC);
    return {hBrush, clrText};
}

TEST(ReflectionTest, TheChildAnswersItsColourRequestThroughTheParent) {
    CParentDialog dlg(true);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CReflectingStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LINK, &dlg));

    ColourAnswer answer = AskParentForColours(dlg.m_hWnd, link.m_hWnd);
    EXPECT_EQ(static_cast<HBRUSH>(link.m_brush), answer.hBrush);
    EXPECT_EQ(kChildText, answer.clrText);
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), link.m_nCtlType);

    link.m_bDecline = true; // declined: the parent's own handler answers
    answer = AskParentForColours(dlg.m_hWnd, link.m_hWnd);
    EXPECT_EQ(static_cast<HBRUSH>(dlg.m_brush), answer.hBrush);
    EXPECT_EQ(kParentText, answer.clrText);
}

TEST(ReflectionTest, AChildWithoutAnEntryLeavesTheParentsNormalHandling) {
    CParentDialog dlg(false);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CStatic plain; // no reflection entries
    ASSERT_TRUE(plain.SubclassDlgItem(IDC_TEST_LINK, &dlg));
    ColourAnswer withObject = AskParentForColours(dlg.m_hWnd, plain.m_hWnd);
    plain.UnsubclassWindow();
    ColourAnswer withoutObject =
        AskParentForColours(dlg.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_TEST_LINK));
    EXPECT_NE(nullptr, withObject.hBrush); // the dialog's default answer
    EXPECT_EQ(withoutObject.hBrush, withObject.hBrush);
    EXPECT_EQ(withoutObject.clrText, withObject.clrText);
}

TEST(ReflectionTest, NotificationsGoToTheChildsEntryFirst) {
    CParentDialog dlg(false);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    HWND hCtl = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_LINK);
    ::SetWindowLongA(hCtl, GWL_STYLE, ::GetWindowLongA(hCtl, GWL_STYLE) | SS_NOTIFY);
    CReflectingStatic link;
    ASSERT_TRUE(link.SubclassWindow(hCtl));

    // A real click: the static control notifies its parent, which reflects it.
    ::SendMessageA(hCtl, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(hCtl, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(1, link.m_nClicks);
    EXPECT_EQ(0, dlg.m_nParentClicks);

    // A notification the child does not map goes on to the parent's entry.
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_LINK, STN_DBLCLK),
                   reinterpret_cast<LPARAM>(hCtl));
    EXPECT_EQ(1, dlg.m_nParentDoubleClicks);

    link.UnsubclassWindow(); // without the child's object the parent's entry runs
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_LINK, STN_CLICKED),
                   reinterpret_cast<LPARAM>(hCtl));
    EXPECT_EQ(1, dlg.m_nParentClicks);
    EXPECT_EQ(1, link.m_nClicks);
}

// ---- Subclassing and Default() ----

class CCountingStatic : public CStatic {
public:
    int m_nPreSubclass = 0;
    bool m_bLiveAtPreSubclass = false;
    int m_nIdAtPreSubclass = 0;
    CString m_strTextAtPreSubclass;
    std::vector<std::string> m_texts;

protected:
    void PreSubclassWindow() override {
        ++m_nPreSubclass;
        m_bLiveAtPreSubclass = m_hWnd != nullptr && ::IsWindow(m_hWnd);
        m_nIdAtPreSubclass = GetDlgCtrlID();
        GetWindowText(m_strTextAtPreSubclass);
        CStatic::PreSubclassWindow();
    }
    // Sees the text on its way, then lets the static control store it.
    afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam) {
        m_texts.push_back(reinterpret_cast<const char*>(lParam));
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingStatic, CStatic)
ON_MESSAGE(WM_SETTEXT, &CCountingStatic::OnSetText)
END_MESSAGE_MAP()

TEST(SubclassTest, DefaultHandsTheCurrentMessageToThePreviousProcedure) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CCountingStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LINK, &dlg));
    link.SetWindowText("first");
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_TEST_LINK, "second");
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), link.m_texts);
    EXPECT_EQ("second", WindowText(link.m_hWnd));

    HWND hCtl = link.UnsubclassWindow();
    ::SetWindowTextA(hCtl, "third"); // no longer seen
    EXPECT_EQ(2u, link.m_texts.size());
    EXPECT_EQ("third", WindowText(hCtl));
}

} // namespace
