// Both dialogs as laid out at the display resolution of the Wine prefix the test runs in
// (ctest runs it at 96 and at 144 DPI): the font each asked for, every text whole in its
// control, the template's size in the dialog's own units, the link fitted to its text
// and the icons at the system's sizes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/about_dlg.h"
#include "app/kestrow_demo_dlg.h"
#include "app/resource.h"
#include "controls/home_page.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/win_test_support.h"

CWinApp g_app; // stands in for theApp; its InitInstance never runs

const std::pair<int, std::vector<SItem>> kTemplates[] = {
#include "tests/app/dialog_templates.inc"
};

SIZE IconSize(HICON hIcon) {
    ICONINFO info{};
    BITMAP bm{};
    if (hIcon == nullptr || !GetIconInfo(hIcon, &info)) {
        return SIZE{};
    }
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return SIZE{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
}

void ExpectIconSize(HICON hIcon, int nMetricX, const char* pszWhat) {
    const SIZE size = IconSize(hIcon);
    EXPECT_EQ(size.cx, GetSystemMetrics(nMetricX)) << pszWhat;
    EXPECT_EQ(size.cy, GetSystemMetrics(nMetricX + 1)) << pszWhat; // SM_CY... follows SM_CX...
}

// The text and the width and height it needs in the control's font, wrapped as the
// control wraps it.
struct SNeeded {
    std::string strText;
    RECT rcNeeded;
    RECT rcClient;
};

SNeeded Needed(HWND hCtl, UINT nWrap) {
    SNeeded n{WindowText(hCtl), {}, {}};
    GetClientRect(hCtl, &n.rcClient);
    n.rcNeeded = RECT{0, 0, n.rcClient.right, 0};
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(hCtl, GWL_STYLE));
    const HDC hDC = GetDC(hCtl);
    const HGDIOBJ hOld = SelectObject(hDC, (HFONT)SendMessageA(hCtl, WM_GETFONT, 0, 0));
    DrawTextA(hDC, n.strText.c_str(), -1, &n.rcNeeded,
              DT_CALCRECT | DT_EXPANDTABS | nWrap | (dwStyle & SS_NOPREFIX ? DT_NOPREFIX : 0));
    SelectObject(hDC, hOld);
    ReleaseDC(hCtl, hDC);
    return n;
}

void CheckLayout(HWND hDlg, int nTemplate) {
    SCOPED_TRACE("dialog " + std::to_string(nTemplate));
    const HDC hDC = GetDC(hDlg);
    const char* pszDpi = std::getenv("KESTROW_WINE_DPI");
    EXPECT_EQ(GetDeviceCaps(hDC, LOGPIXELSY), pszDpi ? std::atoi(pszDpi) : 96) << "the prefix's";
    // The face the dialog asked for is the face it got, not a stand-in.
    const HFONT hFont = (HFONT)SendMessageA(hDlg, WM_GETFONT, 0, 0);
    LOGFONTA lf{};
    ASSERT_TRUE(hFont && GetObjectA(hFont, sizeof lf, &lf));
    const HGDIOBJ hOld = SelectObject(hDC, hFont);
    char szFace[LF_FACESIZE] = {};
    GetTextFaceA(hDC, sizeof szFace, szFace);
    SelectObject(hDC, hOld);
    ReleaseDC(hDlg, hDC);
    EXPECT_STREQ(szFace, lf.lfFaceName);

    for (const auto& t : kTemplates) {
        if (t.first == nTemplate) {
            RECT rcTemplate{0, 0, std::get<4>(t.second[0]), std::get<5>(t.second[0])}, rcClient;
            MapDialogRect(hDlg, &rcTemplate);
            GetClientRect(hDlg, &rcClient);
            EXPECT_EQ(std::make_pair(rcClient.right, rcClient.bottom),
                      std::make_pair(rcTemplate.right, rcTemplate.bottom));
        }
    }
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char szClass[16] = {};
        GetClassNameA(h, szClass, sizeof szClass);
        const DWORD dwType = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & SS_TYPEMASK;
        const bool bOneLine = dwType == SS_SIMPLE || dwType == SS_LEFTNOWORDWRAP;
        if (lstrcmpiA(szClass, "Static") != 0 || (dwType > SS_RIGHT && !bOneLine)) {
            continue;
        }
        const SNeeded n = Needed(h, bOneLine ? DT_SINGLELINE : DT_WORDBREAK);
        EXPECT_TRUE(n.rcNeeded.right <= n.rcClient.right && n.rcNeeded.bottom <= n.rcClient.bottom)
            << "\"" << n.strText << "\" needs " << n.rcNeeded.right << "x" << n.rcNeeded.bottom
            << ", has " << n.rcClient.right << "x" << n.rcClient.bottom;
    }
    const SNeeded link = Needed(GetDlgItem(hDlg, IDC_HOME_LINK), DT_SINGLELINE);
    EXPECT_EQ(std::make_pair(link.rcClient.right, link.rcClient.bottom),
              std::make_pair(link.rcNeeded.right, link.rcNeeded.bottom))
        << "the link, not fitted to its text";
}

TEST(Layout, BothDialogsFitTheirTextsInTheirOwnFontAtThePrefixResolution) {
    CKestrowDemoDlg dlg;
    g_app.m_pMainWnd = &dlg;
    bool bAboutChecked = false;
    const ModalStep steps[] = {
        [](CDialog& d) {
            CheckLayout(d.m_hWnd, IDD_KESTROWDEMO_DIALOG);
            ExpectIconSize((HICON)d.SendMessage(WM_GETICON, ICON_BIG), SM_CXICON, "large");
            ExpectIconSize((HICON)d.SendMessage(WM_GETICON, ICON_SMALL), SM_CXSMICON, "small");
            d.PostMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
        },
        [&](CDialog& d) {
            const HWND hAbout = BoxOver(d.m_hWnd);
            ASSERT_NE(hAbout, nullptr);
            CheckLayout(hAbout, IDD_ABOUTBOX);
            for (HWND h = GetWindow(hAbout, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                if ((GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    ExpectIconSize((HICON)SendMessageA(h, STM_GETICON, 0, 0), SM_CXICON, "About");
                    bAboutChecked = true;
                }
            }
            CloseDialog(hAbout, 0, IDOK);
        },
        [](CDialog& d) { CloseDialog(d.m_hWnd, 0, IDCANCEL); }};
    EXPECT_EQ(RunModalScript(dlg, {std::begin(steps), std::end(steps)}), IDCANCEL);
    EXPECT_TRUE(bAboutChecked) << "no About box icon";
}
