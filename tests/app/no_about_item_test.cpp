// The main dialog built with a string table that lacks the About item's text: the
// system menu gets neither the item nor its separator.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/resource.h"
#include "tests/app/dialog_harness.h"
#include "tests/app/main_dialog_runner.h"

namespace {

TEST(MainDialogWithoutAboutText, AddsNothingToTheSystemMenu) {
    char szText[64] = {};
    ASSERT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, szText, sizeof szText), 0)
        << "this build must not have the string";

    CDialogHarness harness;
    ASSERT_TRUE(harness.Start(RunMainDialog));
    const HMENU hMenu = GetSystemMenu(harness.Dialog(), FALSE);
    ASSERT_NE(hMenu, nullptr);
    const int nCount = GetMenuItemCount(hMenu);
    ASSERT_GE(nCount, 1);
    for (int i = 0; i < nCount; ++i) {
        EXPECT_NE(GetMenuItemID(hMenu, i), static_cast<UINT>(IDM_ABOUTBOX)) << "item " << i;
    }
    MENUITEMINFOA last{};
    last.cbSize = sizeof last;
    last.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(hMenu, nCount - 1, TRUE, &last));
    EXPECT_EQ(last.fType & MFT_SEPARATOR, 0u) << "a separator was added";

    // The rest of the start state does not depend on the string.
    EXPECT_EQ(harness.Text(IDC_PREFIX), "UrlInfo");
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(harness.Dialog(), WM_GETICON, ICON_BIG, 0)),
              LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
}

} // namespace
