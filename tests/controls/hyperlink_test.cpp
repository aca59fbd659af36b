// The hyperlink control on real windows under Wine: set-up, fitting, fonts, hover
// tracking, colours, cursor and tool tip.

#include "controls/hyperlink.h"
#include "tests/controls/link_host.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 238);
constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
constexpr COLORREF kHoverColour = RGB(255, 0, 0);
constexpr char kUrl[] = "https://www.example.com/kestrow/";

class HyperLinkTest : public ::testing::Test {
protected:
    // A control at rc with the test font, taken over by m_link.
    HWND Bind(const char* pszText, DWORD dwExtraStyle, const RECT& rc) {
        m_hStatic = m_host.AddStatic(pszText, dwExtraStyle, rc, m_font.get());
        EXPECT_NE(m_hStatic, nullptr);
        EXPECT_TRUE(m_link.SubclassWindow(m_hStatic));
        return m_hStatic;
    }

    // Measured on the host, so that it can be asked before the control exists.
    SIZE UnderlinedTextSize(const std::string& str) {
        LOGFONTA lf = FontDescription(m_font.get());
        lf.lfUnderline = 1;
        FontPtr underlined(::CreateFontIndirectA(&lf));
        return MeasureText(m_host.Parent(), str, underlined.get());
    }

    HFONT CurrentFont() const {
        return reinterpret_cast<HFONT>(::SendMessageA(m_hStatic, WM_GETFONT, 0, 0));
    }

    // What the control answers its parent's colour request with, and the colours it
    // chose for the device context.
    struct ColourAnswer {
        HBRUSH hBrush;
        COLORREF clrText;
        int nBkMode;
    };
    ColourAnswer AskColour() {
        HDC hDC = ::GetDC(m_hStatic);
        ::SetTextColor(hDC, RGB(1, 2, 3));
        ::SetBkMode(hDC, OPAQUE);
        ColourAnswer answer{};
        answer.hBrush = reinterpret_cast<HBRUSH>(
            ::SendMessageA(m_host.Parent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                           reinterpret_cast<LPARAM>(m_hStatic)));
        answer.clrText = ::GetTextColor(hDC);
        answer.nBkMode = ::GetBkMode(hDC);
        ::ReleaseDC(m_hStatic, hDC);
        return answer;
    }

    // The pointer enters: the first mouse move over the control.
    void MoveMouseOver() { ::SendMessageA(m_hStatic, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }

    // A timer tick whose message position is ptScreen (posted, so that the message
    // carries the cursor position of its time).
    void TickWithPointerAt(POINT ptScreen, UINT_PTR nTimerId = 100) {
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        PumpMessagesUntil([&] {
            POINT pt{};
            ::GetCursorPos(&pt);
            return pt.x == ptScreen.x && pt.y == ptScreen.y;
        });
        ::PostMessageA(m_hStatic, WM_TIMER, nTimerId, 0);
        MSG msg;
        while (::PeekMessageA(&msg, m_hStatic, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            if (msg.wParam == nTimerId) {
                ::DispatchMessageA(&msg);
                break;
            }
        }
    }

    POINT InsideLink() const {
        RECT rc{};
        ::GetWindowRect(m_hStatic, &rc);
        return POINT{rc.left + 1, rc.top + 1};
    }

    POINT OutsideLink() const {
        RECT rc{};
        ::GetWindowRect(m_hStatic, &rc);
        return POINT{rc.right + 40, rc.bottom + 40};
    }

    FontPtr m_font = MakeFont(20);
    CLinkHost m_host;
    CHyperLink m_link;
    HWND m_hStatic = nullptr;
};

} // namespace

// ---- Construction and set-up ----

TEST(HyperLinkObjectTest, StartsWithLinkColoursAndNoResources) {
    CHyperLink link;
    EXPECT_EQ(link.m_clrLink, kLinkColour);
    EXPECT_EQ(link.m_clrVisited, kVisitedColour);
    EXPECT_EQ(link.m_clrHover, kHoverColour);
    EXPECT_FALSE(link.m_bHovering);
    EXPECT_FALSE(link.m_bLinkVisited);
    EXPECT_EQ(link.m_nUnderlineMode, CHyperLink::UnderlineOnHover);
    EXPECT_TRUE(link.m_bFitToText);
    EXPECT_TRUE(link.m_strLinkUrl.IsEmpty());
    EXPECT_EQ(link.m_fontUnderlined.GetSafeHandle(), nullptr);
    EXPECT_EQ(link.m_fontNormal.GetSafeHandle(), nullptr);
    EXPECT_EQ(link.m_hHandCursor, nullptr);
    EXPECT_EQ(link.m_tipCtrl.m_hWnd, nullptr);
    EXPECT_EQ(link.m_nHoverTimerId, 100u);
    EXPECT_EQ(link.m_hWnd, nullptr);
}

TEST(HyperLinkObjectTest, UnderlineModeWithoutWindowIsOnlyStored) {
    CHyperLink link;
    link.SetUnderlineMode(CHyperLink::UnderlineAlways);
    EXPECT_EQ(link.m_nUnderlineMode, CHyperLink::UnderlineAlways);
    link.SetLinkVisited(TRUE);
    EXPECT_TRUE(link.m_bLinkVisited);
}

TEST_F(HyperLinkTest, SetUpWantsClicksAndTakesTheTextAsUrl) {
    Bind(kUrl, 0, RECT{10, 10, 400, 40});
    EXPECT_NE(::GetWindowLongA(m_hStatic, GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_EQ(m_link.m_strLinkUrl, kUrl);
    EXPECT_EQ(WindowText(m_hStatic), kUrl);
}

TEST_F(HyperLinkTest, UrlSetBeforehandFillsAnEmptyTextAndKeepsAGivenOne) {
    m_link.m_strLinkUrl = "https://a.example/";
    Bind("", 0, RECT{10, 10, 400, 40});
    EXPECT_EQ(WindowText(m_hStatic), "https://a.example/");
    EXPECT_EQ(m_link.m_strLinkUrl, "https://a.example/");

    CHyperLink other;
    other.m_strLinkUrl = "https://b.example/";
    HWND hOther = m_host.AddStatic("Home page", 0, RECT{10, 100, 400, 130}, m_font.get());
    ASSERT_TRUE(other.SubclassWindow(hOther));
    EXPECT_EQ(WindowText(hOther), "Home page");
    EXPECT_EQ(other.m_strLinkUrl, "https://b.example/");
}

TEST_F(HyperLinkTest, FontsAreCopiesOfTheControlsFontWhichStaysInUse) {
    Bind(kUrl, 0, RECT{10, 10, 400, 40});
    const LOGFONTA lfSource = FontDescription(m_font.get());
    ASSERT_NE(m_link.m_fontNormal.GetSafeHandle(), nullptr);
    ASSERT_NE(m_link.m_fontUnderlined.GetSafeHandle(), nullptr);
    EXPECT_NE(m_link.m_fontNormal.GetSafeHandle(), m_font.get());

    const LOGFONTA lfNormal = FontDescription(m_link.m_fontNormal.GetSafeHandle());
    LOGFONTA lfUnderlined = FontDescription(m_link.m_fontUnderlined.GetSafeHandle());
    EXPECT_EQ(lfNormal.lfHeight, lfSource.lfHeight);
    EXPECT_STREQ(lfNormal.lfFaceName, lfSource.lfFaceName);
    EXPECT_EQ(lfNormal.lfUnderline, 0);
    EXPECT_EQ(lfUnderlined.lfUnderline, 1);
    lfUnderlined.lfUnderline = 0;
    EXPECT_EQ(std::memcmp(&lfUnderlined, &lfNormal, sizeof(LOGFONTA)), 0);

    EXPECT_EQ(CurrentFont(), m_font.get());
}

TEST_F(HyperLinkTest, ControlWithoutFontCopiesTheDefaultGuiFont) {
    m_hStatic = m_host.AddStatic(kUrl, 0, RECT{10, 10, 400, 40}, nullptr);
    ASSERT_TRUE(m_link.SubclassWindow(m_hStatic));
    const LOGFONTA lfGui = FontDescription(::GetStockObject(DEFAULT_GUI_FONT));
    const LOGFONTA lfNormal = FontDescription(m_link.m_fontNormal.GetSafeHandle());
    EXPECT_EQ(lfNormal.lfHeight, lfGui.lfHeight);
    EXPECT_STREQ(lfNormal.lfFaceName, lfGui.lfFaceName);
    EXPECT_EQ(FontDescription(m_link.m_fontUnderlined.GetSafeHandle()).lfUnderline, 1);
}

// ---- Fitting the window to its text ----

TEST_F(HyperLinkTest, LeftAlignedControlKeepsTopLeftAndTakesTheTextSize) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    const SIZE size = UnderlinedTextSize(kUrl);
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right, 20 + size.cx);
    EXPECT_EQ(rc.bottom, 30 + size.cy);
    // The test font is far from the system font, so a wrong font shows.
    EXPECT_NE(size.cx, MeasureText(m_hStatic, kUrl, nullptr).cx);
}

TEST_F(HyperLinkTest, BorderIsAddedToTheTextSize) {
    Bind(kUrl, WS_BORDER, RECT{20, 30, 520, 90});
    RECT rcClient{};
    ::GetClientRect(m_hStatic, &rcClient);
    const SIZE size = UnderlinedTextSize(kUrl);
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rcClient.right, size.cx);
    EXPECT_EQ(rcClient.bottom, size.cy);
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right - rc.left, size.cx + 2);
    EXPECT_EQ(rc.bottom - rc.top, size.cy + 2);
}

TEST_F(HyperLinkTest, RightAlignedControlKeepsItsRightEdge) {
    Bind(kUrl, SS_RIGHT, RECT{20, 30, 520, 90});
    const SIZE size = UnderlinedTextSize(kUrl);
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.right, 520);
    EXPECT_EQ(rc.left, 520 - size.cx);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.bottom, 30 + size.cy);
}

TEST_F(HyperLinkTest, CentredControlShrinksEquallyAndKeepsOddExcess) {
    const SIZE size = UnderlinedTextSize(kUrl);

    // An excess of 5 pixels shrinks by 2 on each side.
    Bind(kUrl, SS_CENTER, RECT{20, 30, 20 + size.cx + 5, 90});
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.left, 22);
    EXPECT_EQ(rc.right, 20 + size.cx + 3);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.bottom, 30 + size.cy);
}

TEST_F(HyperLinkTest, CentredControlNarrowerThanItsTextGrowsOnBothSides) {
    const SIZE size = UnderlinedTextSize(kUrl);

    // 5 pixels short: the half is truncated toward zero, so it grows by 2 each side.
    Bind(kUrl, SS_CENTER, RECT{200, 30, 200 + size.cx - 5, 90});
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.left, 198);
    EXPECT_EQ(rc.right, 200 + size.cx - 3);
}

TEST_F(HyperLinkTest, CentreImageKeepsTheVerticalCentre) {
    Bind(kUrl, SS_CENTERIMAGE, RECT{20, 30, 520, 131});
    const SIZE size = UnderlinedTextSize(kUrl);
    const int d = (101 - size.cy) / 2;
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.top, 30 + d);
    EXPECT_EQ(rc.bottom, 131 - d);
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.right, 20 + size.cx);
}

TEST_F(HyperLinkTest, EmptyTextWithEmptyUrlStaysEmpty) {
    Bind("", 0, RECT{20, 30, 520, 90});
    EXPECT_EQ(WindowText(m_hStatic), "");
    EXPECT_TRUE(m_link.m_strLinkUrl.IsEmpty());
    const SIZE size = UnderlinedTextSize("");
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right, 20 + size.cx);
    EXPECT_EQ(rc.bottom, 30 + size.cy);

    TTTOOLINFOA ti{};
    char szText[80] = "not read";
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.lpszText = szText;
    ASSERT_TRUE(
        ::SendMessageA(m_link.m_tipCtrl.m_hWnd, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_STREQ(szText, "");
}

TEST_F(HyperLinkTest, FittingCanBeTurnedOff) {
    m_link.m_bFitToText = FALSE;
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.right, 520);
    EXPECT_EQ(rc.bottom, 90);
}

// Without any font of its own (none could be made) the control keeps drawing with the
// font it has and is measured in the device context's own font.
TEST_F(HyperLinkTest, WithoutFontsTheControlKeepsItsFont) {
    m_hStatic = m_host.AddStatic(kUrl, 0, RECT{20, 30, 520, 90}, m_font.get());
    ASSERT_TRUE(m_link.Attach(m_hStatic)); // bound, but not set up
    m_link.SetUnderlineMode(CHyperLink::UnderlineAlways);
    EXPECT_EQ(CurrentFont(), m_font.get());

    m_link.FitToText();
    const SIZE size = MeasureText(m_hStatic, kUrl, nullptr);
    const RECT rc = RectInParent(m_hStatic);
    EXPECT_EQ(rc.right - rc.left, size.cx);
    EXPECT_EQ(rc.bottom - rc.top, size.cy);
    m_link.Detach();
}

// ---- Tool tip ----

TEST_F(HyperLinkTest, ToolTipHasOneToolWithTheUrlOverTheFittedClientArea) {
    Bind(kUrl, WS_BORDER, RECT{20, 30, 520, 90});
    HWND hTip = m_link.m_tipCtrl.m_hWnd;
    ASSERT_NE(hTip, nullptr);
    EXPECT_EQ(::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 1);

    TTTOOLINFOA ti{};
    char szText[256] = "";
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.lpszText = szText;
    ASSERT_TRUE(::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_STREQ(szText, kUrl);
    EXPECT_EQ(ti.hwnd, m_hStatic);
    EXPECT_EQ(ti.uId, 1u);
    RECT rcClient{};
    ::GetClientRect(m_hStatic, &rcClient);
    EXPECT_TRUE(::EqualRect(&ti.rect, &rcClient));
}

namespace {

struct RelayRecord {
    WNDPROC pfnPrevious = nullptr;
    int nRelayed = 0;
    LPARAM lLastParam = 0;
    WPARAM wLastParam = 1;
};
RelayRecord g_relay;

LRESULT CALLBACK RecordRelay(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTM_RELAYEVENT) {
        ++g_relay.nRelayed;
        g_relay.wLastParam = wParam;
        g_relay.lLastParam = lParam;
    }
    return ::CallWindowProcA(g_relay.pfnPrevious, hWnd, message, wParam, lParam);
}

} // namespace

TEST_F(HyperLinkTest, EveryMessageIsRelayedToTheToolTip) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    HWND hTip = m_link.m_tipCtrl.m_hWnd;
    g_relay = RelayRecord{};
    g_relay.pfnPrevious = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordRelay)));

    MSG msgMove{m_hStatic, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4), 0, {}};
    MSG msgKey{m_hStatic, WM_KEYDOWN, VK_SPACE, 0, 0, {}};
    EXPECT_FALSE(m_link.PreTranslateMessage(&msgMove));
    EXPECT_EQ(g_relay.lLastParam, reinterpret_cast<LPARAM>(&msgMove));
    EXPECT_FALSE(m_link.PreTranslateMessage(&msgKey));
    EXPECT_EQ(g_relay.nRelayed, 2);
    EXPECT_EQ(g_relay.wLastParam, 0u);
    EXPECT_EQ(g_relay.lLastParam, reinterpret_cast<LPARAM>(&msgKey));

    ::SetWindowLongPtrA(hTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_relay.pfnPrevious));
}

// ---- Cursor ----

TEST_F(HyperLinkTest, HandCursorIsAPrivateCopyShownOverTheLink) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    // A prefix without the help program falls back to the system's hand.
    ASSERT_NE(m_link.m_hHandCursor, nullptr);
    EXPECT_NE(m_link.m_hHandCursor, ::LoadCursorA(nullptr, IDC_HAND));

    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_TRUE(::SendMessageA(m_hStatic, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hStatic),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), m_link.m_hHandCursor);

    // Loading again keeps the copy it has.
    const HCURSOR hCopy = m_link.m_hHandCursor;
    m_link.LoadHandCursor();
    EXPECT_EQ(m_link.m_hHandCursor, hCopy);
}

TEST(HyperLinkCursorTest, CopyIsReleasedWithTheControl) {
    FontPtr font = MakeFont(20);
    CLinkHost host;
    HCURSOR hCopy = nullptr;
    {
        CHyperLink link;
        ASSERT_TRUE(
            link.SubclassWindow(host.AddStatic(kUrl, 0, RECT{20, 30, 520, 90}, font.get())));
        hCopy = link.m_hHandCursor;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(hCopy, &info));
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
    }
    ICONINFO info{};
    EXPECT_FALSE(::GetIconInfo(hCopy, &info));
}

TEST(HyperLinkCursorTest, WithoutCursorTheMessageIsDeclined) {
    FontPtr font = MakeFont(20);
    CLinkHost host;
    CHyperLink link;
    HWND hStatic = host.AddStatic(kUrl, 0, RECT{20, 30, 520, 90}, font.get());
    ASSERT_TRUE(link.SubclassWindow(hStatic));
    ::DestroyCursor(link.m_hHandCursor);
    link.m_hHandCursor = nullptr;
    const HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    ::SetCursor(hArrow);
    EXPECT_FALSE(::SendMessageA(hStatic, WM_SETCURSOR, reinterpret_cast<WPARAM>(hStatic),
                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), hArrow);
}

// ---- Hover tracking, fonts and colours ----

TEST_F(HyperLinkTest, ColoursFollowTheStateWithATransparentNullBrush) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    const HBRUSH hNull = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));

    ColourAnswer answer = AskColour();
    EXPECT_EQ(answer.hBrush, hNull);
    EXPECT_EQ(answer.clrText, kLinkColour);
    EXPECT_EQ(answer.nBkMode, TRANSPARENT);

    m_link.m_bLinkVisited = TRUE;
    answer = AskColour();
    EXPECT_EQ(answer.hBrush, hNull);
    EXPECT_EQ(answer.clrText, kVisitedColour);

    m_link.m_bHovering = TRUE;
    EXPECT_EQ(AskColour().clrText, kHoverColour);
    m_link.m_bLinkVisited = FALSE;
    EXPECT_EQ(AskColour().clrText, kHoverColour);
}

TEST_F(HyperLinkTest, BackgroundIsTheButtonFace) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    RECT rc{};
    ::GetClientRect(m_hStatic, &rc);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, rc.right, rc.bottom);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::PatBlt(hMem, 0, 0, rc.right, rc.bottom, BLACKNESS);

    EXPECT_TRUE(::SendMessageA(m_hStatic, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem), 0));
    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(::GetPixel(hMem, 0, 0), clrFace);
    EXPECT_EQ(::GetPixel(hMem, rc.right - 1, rc.bottom - 1), clrFace);

    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
}

TEST_F(HyperLinkTest, FirstMouseMoveStartsHoveringWithUnderlineAndTimer) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    ::UpdateWindow(m_hStatic);
    EXPECT_EQ(CurrentFont(), m_font.get());
    EXPECT_FALSE(TimerTicks(m_hStatic, 100, 250));

    MoveMouseOver();
    EXPECT_TRUE(m_link.m_bHovering);
    EXPECT_EQ(CurrentFont(), m_link.m_fontUnderlined.GetSafeHandle());
    EXPECT_EQ(AskColour().clrText, kHoverColour);
    EXPECT_TRUE(TimerTicks(m_hStatic, 100));

    // Drawn in the hover colour after the repaint it asked for.
    EXPECT_TRUE(IsDrawnIn(m_hStatic, kHoverColour, kLinkColour));

    // Further moves change nothing.
    ::SendMessageA(m_hStatic, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    MoveMouseOver();
    EXPECT_EQ(CurrentFont(), m_font.get());
}

TEST_F(HyperLinkTest, TickInsideKeepsHoveringAndTickOutsideEndsIt) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    MoveMouseOver();
    ASSERT_TRUE(m_link.m_bHovering);

    TickWithPointerAt(InsideLink());
    EXPECT_TRUE(m_link.m_bHovering);
    EXPECT_EQ(CurrentFont(), m_link.m_fontUnderlined.GetSafeHandle());
    EXPECT_TRUE(TimerTicks(m_hStatic, 100));

    TickWithPointerAt(OutsideLink());
    EXPECT_FALSE(m_link.m_bHovering);
    EXPECT_EQ(CurrentFont(), m_link.m_fontNormal.GetSafeHandle());
    EXPECT_EQ(AskColour().clrText, kLinkColour);
    MSG msg;
    while (::PeekMessageA(&msg, m_hStatic, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    EXPECT_FALSE(TimerTicks(m_hStatic, 100, 300)) << "the hover timer should be killed";

    EXPECT_TRUE(IsDrawnIn(m_hStatic, kLinkColour, kHoverColour));
}

TEST_F(HyperLinkTest, TimerMessagesOfAnyIdRunTheLeaveTest) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    MoveMouseOver();
    // Only the foreign tick can end hovering now.
    ::KillTimer(m_hStatic, 100);
    TickWithPointerAt(OutsideLink(), 7);
    EXPECT_FALSE(m_link.m_bHovering);
}

TEST_F(HyperLinkTest, BottomRightEdgesAreOutside) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    RECT rc{};
    ::GetWindowRect(m_hStatic, &rc);
    MoveMouseOver();
    TickWithPointerAt(POINT{rc.right - 1, rc.bottom - 1});
    EXPECT_TRUE(m_link.m_bHovering);
    TickWithPointerAt(POINT{rc.right, rc.bottom - 1});
    EXPECT_FALSE(m_link.m_bHovering);
    MoveMouseOver();
    TickWithPointerAt(POINT{rc.left, rc.bottom});
    EXPECT_FALSE(m_link.m_bHovering);
}

TEST_F(HyperLinkTest, UnderlineAlwaysKeepsTheUnderlinedFontOnLeaving) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    m_link.SetUnderlineMode(CHyperLink::UnderlineAlways);
    EXPECT_EQ(CurrentFont(), m_link.m_fontUnderlined.GetSafeHandle());

    MoveMouseOver();
    EXPECT_EQ(AskColour().clrText, kHoverColour);
    TickWithPointerAt(OutsideLink());
    EXPECT_FALSE(m_link.m_bHovering);
    EXPECT_EQ(CurrentFont(), m_link.m_fontUnderlined.GetSafeHandle());
    EXPECT_EQ(AskColour().clrText, kLinkColour);
}

TEST_F(HyperLinkTest, UnderlineNeverKeepsThePlainFontOnEntering) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    m_link.SetUnderlineMode(CHyperLink::UnderlineNever);
    EXPECT_EQ(CurrentFont(), m_link.m_fontNormal.GetSafeHandle());

    MoveMouseOver();
    EXPECT_TRUE(m_link.m_bHovering);
    EXPECT_EQ(CurrentFont(), m_link.m_fontNormal.GetSafeHandle());
    EXPECT_EQ(AskColour().clrText, kHoverColour);
    TickWithPointerAt(OutsideLink());
    EXPECT_EQ(CurrentFont(), m_link.m_fontNormal.GetSafeHandle());
    EXPECT_EQ(AskColour().clrText, kLinkColour);
}

TEST_F(HyperLinkTest, SettingTheCurrentModeChangesNothing) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    m_link.SetUnderlineMode(CHyperLink::UnderlineOnHover);
    EXPECT_EQ(CurrentFont(), m_font.get());
    m_link.SetUnderlineMode(CHyperLink::UnderlineAlways);
    ::SendMessageA(m_hStatic, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    m_link.SetUnderlineMode(CHyperLink::UnderlineAlways);
    EXPECT_EQ(CurrentFont(), m_font.get());
    // Back to hovering mode shows the plain copy.
    m_link.SetUnderlineMode(CHyperLink::UnderlineOnHover);
    EXPECT_EQ(CurrentFont(), m_link.m_fontNormal.GetSafeHandle());
}

TEST_F(HyperLinkTest, VisitedLinkRepaintsInTheVisitedColour) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    EXPECT_TRUE(IsDrawnIn(m_hStatic, kLinkColour, kVisitedColour));

    m_link.SetLinkVisited(TRUE);
    EXPECT_TRUE(::GetUpdateRect(m_hStatic, nullptr, FALSE)) << "a repaint should be due";
    EXPECT_TRUE(IsDrawnIn(m_hStatic, kVisitedColour, kLinkColour));
}

TEST_F(HyperLinkTest, DestroyWindowDestroysTheControl) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    MoveMouseOver();
    EXPECT_TRUE(m_link.DestroyWindow());
    EXPECT_FALSE(::IsWindow(m_hStatic));
    EXPECT_EQ(m_link.m_hWnd, nullptr);
}

TEST_F(HyperLinkTest, RealPointerMovesEnterAndLeave) {
    Bind(kUrl, 0, RECT{20, 30, 520, 90});
    const POINT ptInside = InsideLink();
    ::SetCursorPos(ptInside.x + 3, ptInside.y + 3);
    EXPECT_TRUE(PumpMessagesUntil([&] { return m_link.m_bHovering != FALSE; }, 3000));
    const POINT ptOutside = OutsideLink();
    ::SetCursorPos(ptOutside.x, ptOutside.y);
    EXPECT_TRUE(PumpMessagesUntil([&] { return m_link.m_bHovering == FALSE; }, 3000));
    EXPECT_EQ(CurrentFont(), m_link.m_fontNormal.GetSafeHandle());
}
