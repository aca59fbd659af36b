// The About box as the main dialog opens it from its system menu: what it shows, that
// it is modal over the main dialog, and the three ways it closes.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource.h"
#include "controls/home_page.h"
#include "tests/app/dialog_harness.h"
#include "tests/app/main_dialog_runner.h"

namespace {

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_harness.Start(RunMainDialog));
        m_harness.PostSysCommand(IDM_ABOUTBOX);
        m_hAbout = m_harness.WaitForCreatedDialog(0);
        ASSERT_NE(m_hAbout, nullptr) << "no About box";
        m_harness.Sync();
    }
    void TearDown() override { m_harness.Stop(); }

    // The box is gone, the main dialog is usable again and nothing else opened.
    void ExpectClosedBackToMainDialog() {
        ASSERT_TRUE(CDialogHarness::WaitUntil([&] { return !IsWindow(m_hAbout); }))
            << "the About box stayed open";
        m_harness.Sync();
        EXPECT_TRUE(IsWindow(m_harness.Dialog()));
        EXPECT_TRUE(IsWindowEnabled(m_harness.Dialog()));
        EXPECT_EQ(m_harness.CreatedDialogs().size(), 1u);
    }

    CDialogHarness m_harness;
    HWND m_hAbout = nullptr;
};

TEST_F(AboutBox, ShowsIconVersionLinkAndOkModallyOverTheMainDialog) {
    EXPECT_EQ(WindowText(m_hAbout), "About KestrowDemo");
    EXPECT_TRUE(IsWindowVisible(m_hAbout));
    EXPECT_FALSE(IsWindowEnabled(m_harness.Dialog())) << "not modal over the main dialog";
    EXPECT_EQ(GetWindow(m_hAbout, GW_OWNER), m_harness.Dialog());

    HWND hIcon = nullptr;
    HWND hVersion = nullptr;
    for (HWND hChild = GetWindow(m_hAbout, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        const LONG nStyle = GetWindowLongA(hChild, GWL_STYLE);
        if (GetDlgCtrlID(hChild) == -1 || GetDlgCtrlID(hChild) == 0xFFFF) {
            if ((nStyle & SS_TYPEMASK) == SS_ICON) {
                hIcon = hChild;
            } else if (WindowText(hChild) == "KestrowDemo Version 1.0") {
                hVersion = hChild;
            }
        }
    }
    ASSERT_NE(hIcon, nullptr);
    EXPECT_TRUE(IsWindowVisible(hIcon));
    EXPECT_NE(SendMessageA(hIcon, STM_GETICON, 0, 0), 0) << "the icon static shows no icon";
    ASSERT_NE(hVersion, nullptr);
    EXPECT_TRUE(IsWindowVisible(hVersion));

    const HWND hLink = GetDlgItem(m_hAbout, IDC_HOME_LINK);
    ASSERT_NE(hLink, nullptr);
    EXPECT_EQ(WindowText(hLink), KESTROW_HOME_PAGE_URL);
    // The hyperlink took the control over: it wants its clicks.
    EXPECT_TRUE(GetWindowLongA(hLink, GWL_STYLE) & SS_NOTIFY);

    const HWND hOk = GetDlgItem(m_hAbout, IDOK);
    ASSERT_NE(hOk, nullptr);
    EXPECT_EQ(WindowText(hOk), "OK");
    EXPECT_TRUE(IsWindowEnabled(hOk));
}

TEST_F(AboutBox, ClosesWithOk) {
    CDialogHarness::Click(m_hAbout, IDOK);
    ExpectClosedBackToMainDialog();
}

TEST_F(AboutBox, ClosesWithEscape) {
    CDialogHarness::PostKey(GetDlgItem(m_hAbout, IDOK), VK_ESCAPE);
    ExpectClosedBackToMainDialog();
}

TEST_F(AboutBox, ClosesWithTheCloseCommand) {
    PostMessageA(m_hAbout, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectClosedBackToMainDialog();
}

TEST_F(AboutBox, OpensAgainAfterClosing) {
    CDialogHarness::Click(m_hAbout, IDOK);
    ExpectClosedBackToMainDialog();
    m_harness.PostSysCommand(IDM_ABOUTBOX);
    const HWND hSecond = m_harness.WaitForCreatedDialog(1);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(hSecond, IDC_HOME_LINK)), KESTROW_HOME_PAGE_URL);
}

} // namespace
