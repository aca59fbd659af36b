// Fonts, device contexts, menus and tool tips: the wrappers the hyperlink and the main
// dialog draw and decorate with.

#include <gtest/gtest.h>

#include <string>

#include "framework/afx.h"
#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

LOGFONTA GuiFontDescription() {
    LOGFONTA lf{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

TEST(FontTest, CreatesFromADescriptionAndOwnsTheHandle) {
    LOGFONTA lf = GuiFontDescription();
    lf.lfUnderline = 1;
    HGDIOBJ hFont = nullptr;
    {
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        hFont = font.m_hObject;
        LOGFONTA read{};
        ASSERT_EQ(static_cast<int>(sizeof(read)), font.GetLogFont(&read));
        EXPECT_EQ(1, read.lfUnderline);
        EXPECT_EQ(lf.lfHeight, read.lfHeight);
        EXPECT_STREQ(lf.lfFaceName, read.lfFaceName);
        EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(hFont)));
    }
    EXPECT_EQ(0u, ::GetObjectType(hFont)); // deleted with its object
}

TEST(FontTest, AWrapperFromAHandleLeavesTheFontAlive) {
    HGDIOBJ hStock = ::GetStockObject(DEFAULT_GUI_FONT);
    CFont* pFont = CFont::FromHandle(static_cast<HFONT>(hStock));
    ASSERT_NE(nullptr, pFont);
    EXPECT_EQ(hStock, pFont->m_hObject);
    EXPECT_EQ(pFont, CFont::FromHandle(static_cast<HFONT>(hStock)));

    LOGFONTA lf = GuiFontDescription();
    HFONT hOwn = ::CreateFontIndirectA(&lf);
    CFont::FromHandle(hOwn);
    PumpMessagesFor(50); // idle time deletes the wrappers, never the fonts
    EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(hOwn)));
    ::DeleteObject(hOwn);
}

class CMemoryDC {
public:
    CMemoryDC()
        : m_hDC(::CreateCompatibleDC(nullptr)), m_hBitmap(::CreateBitmap(64, 64, 1, 32, nullptr)) {
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    }
    ~CMemoryDC() {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    HDC m_hDC;

private:
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

TEST(DeviceContextTest, MeasuresTextInTheSelectedFont) {
    CMemoryDC memory;
    CDC* pDC = CDC::FromHandle(memory.m_hDC);
    LOGFONTA lf = GuiFontDescription();
    CFont small;
    ASSERT_TRUE(small.CreateFontIndirect(&lf));
    lf.lfHeight *= 3;
    CFont large;
    ASSERT_TRUE(large.CreateFontIndirect(&lf));

    CFont* pOld = pDC->SelectObject(&small);
    ASSERT_NE(nullptr, pOld);
    CSize smallSize = pDC->GetTextExtent(CString("http://link.invalid/"));
    CSize shorter = pDC->GetTextExtent(CString("http://"));
    pDC->SelectObject(&large);
    CSize largeSize = pDC->GetTextExtent(CString("http://link.invalid/"));
    CFont* pPrevious = pDC->SelectObject(pOld);
    EXPECT_EQ(large.m_hObject, pPrevious->m_hObject);

    EXPECT_GT(smallSize.cx, shorter.cx);
    EXPECT_EQ(smallSize.cy, shorter.cy);
    EXPECT_GT(largeSize.cx, smallSize.cx);
    EXPECT_GT(largeSize.cy, smallSize.cy);
    EXPECT_EQ(0, pDC->GetTextExtent(CString()).cx);
}

TEST(DeviceContextTest, FillSolidRectPaintsAndKeepsTheBackgroundColour) {
    CMemoryDC memory;
    CDC* pDC = CDC::FromHandle(memory.m_hDC);
    pDC->SetBkColor(RGB(9, 9, 9));
    pDC->FillSolidRect(CRect(2, 2, 10, 10), RGB(255, 0, 0));
    pDC->FillSolidRect(20, 20, 4, 4, RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(memory.m_hDC, 2, 2));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(memory.m_hDC, 9, 9));
    EXPECT_NE(RGB(255, 0, 0), ::GetPixel(memory.m_hDC, 10, 10)); // right/bottom excluded
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(memory.m_hDC, 23, 23));
    EXPECT_NE(RGB(0, 0, 255), ::GetPixel(memory.m_hDC, 24, 23));
    EXPECT_EQ(RGB(9, 9, 9), ::GetBkColor(memory.m_hDC));

    EXPECT_EQ(RGB(0, 0, 0), pDC->SetTextColor(RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), pDC->GetTextColor());
    pDC->SetBkMode(TRANSPARENT);
    EXPECT_EQ(TRANSPARENT, pDC->GetBkMode());
}

TEST(GeometryTest, RectanglesAndPointsConvertBetweenWindows) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.SetWindowPos(nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CWnd* pLink = dlg.GetDlgItem(IDC_TEST_LINK);
    ASSERT_NE(nullptr, pLink);
    EXPECT_EQ(&dlg, pLink->GetParent());

    CRect rcWindow;
    pLink->GetWindowRect(&rcWindow);
    CRect rcClient;
    pLink->GetClientRect(&rcClient);
    EXPECT_EQ(0, rcClient.left);
    EXPECT_EQ(rcWindow.Width(), rcClient.Width()); // no border

    CRect rcScreen = rcClient;
    pLink->ClientToScreen(&rcScreen);
    EXPECT_EQ(rcWindow, rcScreen);
    dlg.ScreenToClient(&rcScreen);
    CPoint pt(rcScreen.left, rcScreen.top);
    dlg.ClientToScreen(&pt);
    EXPECT_EQ(rcWindow.TopLeft(), pt);
    dlg.ScreenToClient(&pt);
    EXPECT_EQ(rcScreen.TopLeft(), pt);

    pLink->SetWindowPos(nullptr, 5, 6, 70, 12, SWP_NOZORDER);
    pLink->GetWindowRect(&rcWindow);
    dlg.ScreenToClient(&rcWindow);
    EXPECT_EQ(CRect(5, 6, 75, 18), rcWindow);

    CRect rc(10, 10, 20, 30);
    EXPECT_TRUE(rc.PtInRect(CPoint(10, 10)));
    EXPECT_FALSE(rc.PtInRect(CPoint(20, 10)));
    EXPECT_EQ(CPoint(-3, 7), CPoint(static_cast<LPARAM>(MAKELPARAM(-3, 7))));
}

TEST(WindowTest, StyleTextEnableAndTimers) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CWnd* pLink = dlg.GetDlgItem(IDC_TEST_LINK);
    EXPECT_EQ(0u, pLink->GetStyle() & SS_NOTIFY);
    EXPECT_TRUE(pLink->ModifyStyle(0, SS_NOTIFY));
    EXPECT_EQ(static_cast<DWORD>(SS_NOTIFY), pLink->GetStyle() & SS_NOTIFY);
    EXPECT_FALSE(pLink->ModifyStyle(0, SS_NOTIFY)); // nothing to change

    CString strText;
    pLink->GetWindowText(strText);
    EXPECT_EQ("http://link.invalid/", strText);

    CWnd* pOk = dlg.GetDlgItem(IDOK);
    pOk->EnableWindow(FALSE);
    EXPECT_FALSE(pOk->IsWindowEnabled());
    pOk->EnableWindow(TRUE);
    EXPECT_TRUE(pOk->IsWindowEnabled());

    CFont* pFont = pLink->GetFont();
    ASSERT_NE(nullptr, pFont); // the template's font
    LOGFONTA lf{};
    pFont->GetLogFont(&lf);
    lf.lfUnderline = 1;
    CFont underlined;
    ASSERT_TRUE(underlined.CreateFontIndirect(&lf));
    pLink->SetFont(&underlined);
    EXPECT_EQ(underlined.m_hObject, pLink->GetFont()->m_hObject);
    pLink->SetFont(pFont);
}

class CTimerStatic : public CStatic {
public:
    int m_nTicks = 0;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        if (nIDEvent == 100 && ++m_nTicks == 2) {
            KillTimer(100);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerStatic, CStatic)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(WindowTest, AWindowTimerTicksUntilKilled) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CTimerStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LINK, &dlg));
    EXPECT_EQ(100u, link.SetTimer(100, 20));
    EXPECT_TRUE(PumpMessagesUntil([&] { return link.m_nTicks >= 2; }, 5000));
    PumpMessagesFor(100);
    EXPECT_EQ(2, link.m_nTicks);
    EXPECT_FALSE(link.KillTimer(100)); // already gone
}

TEST(MenuTest, AppendsToTheSystemMenu) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CMenu* pSysMenu = dlg.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, pSysMenu);
    EXPECT_EQ(pSysMenu, CMenu::FromHandle(::GetSystemMenu(dlg.m_hWnd, FALSE)));
    UINT nBefore = pSysMenu->GetMenuItemCount();
    EXPECT_TRUE(pSysMenu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(pSysMenu->AppendMenu(MF_STRING, 0x0010, "&About KestrowDemo..."));
    ASSERT_EQ(nBefore + 2, pSysMenu->GetMenuItemCount());
    EXPECT_EQ(0x0010u, pSysMenu->GetMenuItemID(static_cast<int>(nBefore + 1)));
    char szText[64] = {};
    ::GetMenuStringA(pSysMenu->m_hMenu, 0x0010, szText, sizeof(szText), MF_BYCOMMAND);
    EXPECT_STREQ("&About KestrowDemo...", szText);
}

TEST(ToolTipTest, HasOneToolWithItsTextAndGoesWithItsOwner) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LINK, &dlg));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&link));
    EXPECT_EQ(dlg.m_hWnd, ::GetWindow(tip.m_hWnd, GW_OWNER)); // owners are top-level windows
    EXPECT_TRUE(tip.GetStyle() & WS_POPUP);

    CRect rcClient;
    link.GetClientRect(&rcClient);
    EXPECT_TRUE(tip.AddTool(&link, "http://link.invalid/", &rcClient, 1));
    EXPECT_EQ(1, tip.GetToolCount());

    char szText[80] = {};
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = link.m_hWnd;
    ti.uId = 1;
    ti.lpszText = szText;
    ASSERT_TRUE(tip.SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_STREQ("http://link.invalid/", szText);
    EXPECT_EQ(rcClient, CRect(ti.rect));

    MSG msg{link.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1), ::GetTickCount(), {1, 1}};
    tip.RelayEvent(&msg); // must reach the tool tip without harm
    EXPECT_TRUE(::IsWindow(tip.m_hWnd));

    HWND hTip = tip.m_hWnd;
    dlg.DestroyWindow(); // and with it the tool tip it owns
    EXPECT_FALSE(::IsWindow(hTip));
    EXPECT_EQ(nullptr, tip.m_hWnd);
}

TEST(ToolTipTest, TheWindowGoesWithTheObject) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    HWND hTip = nullptr;
    {
        CToolTipCtrl tip;
        ASSERT_TRUE(tip.Create(&dlg));
        hTip = tip.m_hWnd;
        EXPECT_TRUE(::IsWindow(hTip));
    }
    EXPECT_FALSE(::IsWindow(hTip));
}

} // namespace
