// The dialogs as laid out at the display resolution of the Wine prefix the test runs in
// (ctest runs it at 96 and at 144 DPI): the font each asked for, every text whole in its
// control, every control inside the dialog and clear of the others, the template's size in the
// dialog's own units, the link fitted to its text and the icons at the system's sizes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/kestrow_demo_dlg.h"
#include "app/resource.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/win_test_support.h"

CWinApp g_app; // stands in for theApp; its InitInstance never runs

// Calls fn with a DC of the window that has the window's font selected.
template <typename F> void WithFontOf(HWND hWnd, F fn) {
    const HDC hDC = GetDC(hWnd);
    const HGDIOBJ hOld = SelectObject(hDC, (HFONT)SendMessageW(hWnd, WM_GETFONT, 0, 0));
    fn(hDC);
    SelectObject(hDC, hOld);
    ReleaseDC(hWnd, hDC);
}

void ExpectIconSize(HICON hIcon, int nMetricX, const char* pszWhat) {
    ICONINFO info{};
    BITMAP bm{};
    ASSERT_TRUE(hIcon && GetIconInfo(hIcon, &info)) << pszWhat;
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(nMetricX)) << pszWhat;
    EXPECT_EQ(info.hbmColor ? bm.bmHeight : bm.bmHeight / 2, GetSystemMetrics(nMetricX + 1))
        << pszWhat; // SM_CY... follows SM_CX...
}

// The width and height the control's text needs in the control's font, wrapped as the
// control wraps it; then the width and height the control has.
using SFit = std::pair<std::pair<LONG, LONG>, std::pair<LONG, LONG>>;
SFit Needed(HWND hCtl, UINT nWrap) {
    RECT rcClient;
    GetClientRect(hCtl, &rcClient);
    RECT rcNeeded{0, 0, rcClient.right, 0};
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
    WithFontOf(hCtl, [&](HDC hDC) {
        DrawTextW(hDC, CWideText(WindowText(hCtl).c_str()), -1, &rcNeeded,
                  DT_CALCRECT | DT_EXPANDTABS | nWrap | (dwStyle & SS_NOPREFIX ? DT_NOPREFIX : 0));
    });
    return {{rcNeeded.right, rcNeeded.bottom}, {rcClient.right, rcClient.bottom}};
}

// cx and cy: the template's size in dialog units.
void CheckLayout(HWND hDlg, int cx, int cy) {
    SCOPED_TRACE(WindowText(hDlg));
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW((HFONT)SendMessageW(hDlg, WM_GETFONT, 0, 0), sizeof lf, &lf));
    WithFontOf(hDlg, [&](HDC hDC) {
        const char* pszDpi = std::getenv("KESTROW_WINE_DPI");
        EXPECT_EQ(GetDeviceCaps(hDC, LOGPIXELSY), pszDpi ? std::atoi(pszDpi) : 96)
            << "the prefix's";
        // The face the dialog asked for is the face it got, not a stand-in.
        wchar_t szFace[LF_FACESIZE] = {};
        GetTextFaceW(hDC, LF_FACESIZE, szFace);
        EXPECT_EQ(std::wstring(szFace), lf.lfFaceName);
    });
    RECT rcTemplate{0, 0, cx, cy}, rcClient;
    MapDialogRect(hDlg, &rcTemplate);
    GetClientRect(hDlg, &rcClient);
    EXPECT_EQ(std::make_pair(rcClient.right, rcClient.bottom),
              std::make_pair(rcTemplate.right, rcTemplate.bottom));
    std::vector<RECT> placed;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        // Inside the dialog, and clear of every control before it.
        RECT rc, rcBoth;
        GetWindowRect(h, &rc);
        MapWindowPoints(HWND_DESKTOP, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_TRUE(IntersectRect(&rcBoth, &rc, &rcClient) && EqualRect(&rcBoth, &rc))
            << "\"" << WindowText(h) << "\" sticks out";
        for (const RECT& rcOther : placed) {
            EXPECT_FALSE(IntersectRect(&rcBoth, &rc, &rcOther)) << "\"" << WindowText(h) << "\"";
        }
        placed.push_back(rc);
        wchar_t szClass[16] = {};
        GetClassNameW(h, szClass, 16);
        const DWORD dwType = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)) & SS_TYPEMASK;
        const bool bButton = lstrcmpiW(szClass, L"Button") == 0;
        const bool bOneLine = dwType == SS_SIMPLE || dwType == SS_LEFTNOWORDWRAP || bButton;
        if ((lstrcmpiW(szClass, L"Static") != 0 || (dwType > SS_RIGHT && !bOneLine)) && !bButton) {
            continue;
        }
        const SFit fit = Needed(h, bOneLine ? DT_SINGLELINE : DT_WORDBREAK);
        EXPECT_TRUE(fit.first.first <= fit.second.first && fit.first.second <= fit.second.second)
            << "\"" << WindowText(h) << "\" needs, then has " << testing::PrintToString(fit);
    }
    if (const HWND hLink = GetDlgItem(hDlg, IDC_HOME_LINK)) {
        const SFit link = Needed(hLink, DT_SINGLELINE);
        EXPECT_EQ(link.first, link.second) << "the link, not fitted to its text";
    }
}

TEST(Layout, EachDialogFitsItsTextsInItsOwnFontAtThePrefixResolution) {
    CKestrowDemoDlg dlg;
    g_app.m_pMainWnd = &dlg;
    const ModalStep steps[] = {
        [](CDialog& d) {
            CheckLayout(d.m_hWnd, 320, 203);
            ExpectIconSize((HICON)d.SendMessage(WM_GETICON, ICON_BIG), SM_CXICON, "large");
            ExpectIconSize((HICON)d.SendMessage(WM_GETICON, ICON_SMALL), SM_CXSMICON, "small");
            d.PostMessage(WM_COMMAND, IDC_CHECK);
        },
        [](CDialog& d) {
            const HWND hCheck = BoxOver(d.m_hWnd);
            ASSERT_NE(hCheck, nullptr);
            CheckLayout(hCheck, 320, 243);
            CloseDialog(hCheck, 0, IDCANCEL);
            d.PostMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
        },
        [](CDialog& d) {
            const HWND hAbout = BoxOver(d.m_hWnd);
            ASSERT_NE(hAbout, nullptr);
            CheckLayout(hAbout, 235, 55);
            const HWND hIcon = GetWindow(hAbout, GW_CHILD); // the template's first control
            ExpectIconSize((HICON)SendMessageW(hIcon, STM_GETICON, 0, 0), SM_CXICON, "About");
            CloseDialog(hAbout, 0, IDOK);
        },
        [](CDialog& d) { CloseDialog(d.m_hWnd, 0, IDCANCEL); }};
    EXPECT_EQ(RunModalScript(dlg, {std::begin(steps), std::end(steps)}), IDCANCEL);
}
