// Windows under Wine: message maps chained to the base map, reflection of a parent's
// messages to its child controls, subclassing and Default(), and fonts.

#include <gtest/gtest.h>

#include "framework/thread_state.h"
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
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_MESSAGE(WM_TEST_BOTH, &CDerivedWnd::OnBoth)
END_MESSAGE_MAP()

// Found by handle, one object per window, released with the window it created. (A
// button's click in a derived class's map is the main dialog's "&Generate".)
TEST(MessageMapTest, DispatchesThroughTheChainAndTheDerivedEntryWins) {
    CDerivedWnd wnd;
    CBaseWnd base;
    ASSERT_TRUE(wnd.Create() && base.Create());
    EXPECT_EQ(42, wnd.SendMessage(WM_TEST_BASE_ONLY, 41)); // only in the base map
    EXPECT_EQ(20, wnd.SendMessage(WM_TEST_BOTH));
    EXPECT_EQ(10, base.SendMessage(WM_TEST_BOTH));
    for (CBaseWnd* pWnd : {static_cast<CBaseWnd*>(&wnd), &base}) {
        pWnd->SendMessage(WM_TIMER, 77);
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(7, 1)); // an accelerator routes like a menu
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(8, 0)); // no entry
        // Unmapped: the static's own procedure stores it, whole, as a Unicode window.
        pWnd->SetWindowText(kWorldText.c_str());
        EXPECT_EQ(kWorldText, WindowText(*pWnd));
    }
    EXPECT_EQ((std::vector<std::string>{"timer 77", "command 7"}), wnd.m_calls);
    EXPECT_EQ((std::vector<std::string>{"timer 77", "command 7"}), base.m_calls);

    HWND hWnd = wnd.m_hWnd;
    EXPECT_EQ(&wnd, CWnd::FromHandle(hWnd));
    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(hWnd));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.m_hWnd == nullptr && CWnd::FromHandlePermanent(hWnd) == nullptr);
    {
        CBaseWnd scoped;
        ASSERT_TRUE(scoped.Create());
        hWnd = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

// A dialog as the parent, a static control as the child.
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
    // Sees the text on its way, in UTF-16 as it reaches a Unicode window, then lets the
    // static control store it.
    afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam) {
        m_texts.push_back(Utf8(reinterpret_cast<const wchar_t*>(lParam)));
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

// The parent's answer to the colour request a static control sends when it paints.
std::pair<HBRUSH, COLORREF> AskParentForColours(CDialog& dlg, HWND hChild) {
    HDC hDC = ::GetDC(hChild);
    ::SetTextColor(hDC, RGB(255, 255, 255));
    auto hBrush = reinterpret_cast<HBRUSH>(dlg.SendMessage(
        WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hChild)));
    COLORREF clrText = ::GetTextColor(hDC);
    ::ReleaseDC(hChild, hDC);
    return {hBrush, clrText};
}

// The child's entries answer first: its colours unless it declines, its click; without
// them (or its object) the parent's. Default() hands a message on until unsubclassed.
TEST(ReflectionTest, TheChildsEntriesAnswerFirstAndDefaultPassesOn) {
    CParentDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    const HWND hLink = ::GetDlgItem(dlg, IDC_TEST_LINK);
    const auto parents = std::make_pair(static_cast<HBRUSH>(dlg.m_brush), RGB(4, 5, 6));
    CStatic plain; // no reflection entries
    ASSERT_TRUE(plain.SubclassWindow(hLink));
    EXPECT_EQ(parents, AskParentForColours(dlg, hLink));
    plain.UnsubclassWindow();
    ::SetWindowLongW(hLink, GWL_STYLE, ::GetWindowLongW(hLink, GWL_STYLE) | SS_NOTIFY);
    CReflectingStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LINK, &dlg));
    EXPECT_EQ(std::make_pair(static_cast<HBRUSH>(link.m_brush), RGB(1, 2, CTLCOLOR_STATIC)),
              AskParentForColours(dlg, hLink));
    link.m_bDecline = true;
    EXPECT_EQ(parents, AskParentForColours(dlg, hLink));

    // A real click: the static control notifies its parent, which reflects it.
    ::SendMessageW(hLink, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(hLink, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const LPARAM lParam = reinterpret_cast<LPARAM>(hLink);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_LINK, STN_DBLCLK), lParam); // unmapped
    EXPECT_TRUE(link.m_nClicks == 1 && dlg.m_nClicks == 0 && dlg.m_nDoubleClicks == 1);

    link.SetWindowText("first");
    SetText(hLink, kWorldText);
    EXPECT_EQ((std::vector<std::string>{"first", kWorldText}), link.m_texts);
    EXPECT_EQ(kWorldText, WindowText(hLink));
    link.UnsubclassWindow();
    SetText(hLink, "third"); // no longer seen
    EXPECT_TRUE(link.m_texts.size() == 2 && WindowText(hLink) == "third");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_LINK, STN_CLICKED), lParam);
    EXPECT_EQ(1, dlg.m_nClicks);
}

TEST(FontTest, AFontOwnsWhatItCreatedAndATemporaryWrapperNothing) {
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    HFONT hUnowned = ::CreateFontIndirectW(&lf);
    HMENU hMenu = ::CreatePopupMenu();
    CFont::FromHandle(hUnowned);
    CMenu::FromHandle(hMenu);
    AfxDeleteTempMaps(); // as an idle message loop does: the wrappers go, never their objects
    EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(hUnowned)));
    EXPECT_TRUE(::IsMenu(hMenu));
    ::DeleteObject(hUnowned);
    ::DestroyMenu(hMenu);
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

// Both forms fill exactly the rectangle given and leave the background colour as it was.
TEST(GdiTest, FillSolidRectFillsExactlyItsRectangle) {
    const HDC hDC = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ hOld = ::SelectObject(hDC, ::CreateBitmap(8, 6, 1, 32, nullptr));
    ::PatBlt(hDC, 0, 0, 8, 6, BLACKNESS);
    CDC* pDC = CDC::FromHandle(hDC);
    pDC->SetBkColor(RGB(1, 2, 3));
    const RECT rc{1, 1, 4, 3};
    pDC->FillSolidRect(&rc, RGB(255, 0, 0));
    pDC->FillSolidRect(4, 3, 2, 3, RGB(0, 0, 255));
    std::string strPixels;
    for (int i = 0; i < 48; ++i) {
        const COLORREF clr = ::GetPixel(hDC, i % 8, i / 8);
        strPixels += clr == RGB(255, 0, 0) ? 'r' : clr == RGB(0, 0, 255) ? 'b' : '.';
    }
    EXPECT_EQ(strPixels, "........"
                         ".rrr...."
                         ".rrr...."
                         "....bb.."
                         "....bb.."
                         "....bb..");
    EXPECT_EQ(::GetBkColor(hDC), RGB(1, 2, 3));
    ::DeleteObject(::SelectObject(hDC, hOld));
    ::DeleteDC(hDC);
}

} // namespace
