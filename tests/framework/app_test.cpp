// The application object, string resources, message boxes, and exceptions escaping
// handlers, under Wine with real windows.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

TEST(StringResourceTest, LoadStringReadsTheTableAndAMissingIdGivesTheEmptyText) {
    // A short ASCII text is the main dialog suite's (its system menu's About item).
    CString str("previous");
    EXPECT_TRUE(str.LoadString(IDS_TEST_WORLD));
    EXPECT_EQ(kWorldText, str.str());
    EXPECT_TRUE(str.LoadString(IDS_TEST_LONG)); // longer than a first guess of a buffer
    EXPECT_EQ(324, str.GetLength());
    EXPECT_EQ(0, str.str().compare(320, 4, "|end"));
    EXPECT_FALSE(str.LoadString(IDS_TEST_MISSING));
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ApplicationTest, TheNameIsTheGivenOneElseTheTitleResourceElseTheFileTitle) {
    {
        CWinApp app;
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ(IDS_TEST_APP_TITLE_TEXT, app.m_pszAppName);
        EXPECT_STREQ("framework_win_tests", app.m_pszExeName);
    }
    CWinApp app("Given Name");
    EXPECT_EQ(CString("Given Name"), AfxGetAppName());
    // The file title when there is no title string is the entry probe's.
}

class CHelpApp : public CWinApp {
public:
    CHelpApp() : CWinApp("Help Test") {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

TEST(MessageBoxTest, BoxesShowTheTextAndCaptionGivenOverTheirOwner) {
    CDialog dlg(IDD_TEST_DIALOG);
    // Left hidden: a shown owner destroyed before the next test's boxes makes Wine's X
    // driver fail (BadWindow) while another Wine run shares the prefix.
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CMessageBoxWatcher watcher(IDNO);
    EXPECT_EQ(IDNO, dlg.MessageBox("No caption given", nullptr, MB_YESNO));
    CHelpApp app;
    app.m_pMainWnd = &dlg;
    EXPECT_EQ(IDNO,
              AfxMessageBox((kWorldText + "\nline two").c_str(), MB_ICONEXCLAMATION | MB_YESNO));
    dlg.SendMessage(WM_COMMAND, ID_HELP); // to the application; there is no help file
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ(IDS_TEST_APP_TITLE_TEXT, boxes[0].strCaption); // no application object yet
    EXPECT_EQ("Help Test", boxes[1].strCaption);
    EXPECT_EQ(kWorldText + "\nline two", boxes[1].strText);
    EXPECT_TRUE(boxes[1].HasSystemIcon(IDI_EXCLAMATION));
    EXPECT_EQ("Failed to launch help.", boxes[2].strText);
    for (const MessageBoxRecord& box : boxes) {
        EXPECT_EQ(dlg.m_hWnd, box.hWndOwner);
    }
}

// ---- Exceptions escaping handlers ----

const UINT WM_TEST_THROW_BAD_ALLOC = WM_APP + 20;
const UINT WM_TEST_THROW_RUNTIME = WM_APP + 21;

class CThrowingDialog : public CDialog {
public:
    CThrowingDialog() : CDialog(IDD_TEST_DIALOG) {}
    int m_nPaints = 0;
    bool m_bThrowInPaint = false;

protected:
    afx_msg LRESULT OnThrowBadAlloc(WPARAM, LPARAM) { throw std::bad_alloc(); }
    afx_msg LRESULT OnThrowRuntime(WPARAM, LPARAM) { throw std::runtime_error("It broke."); }
    afx_msg void OnPaint() {
        ++m_nPaints;
        if (m_bThrowInPaint) {
            throw std::runtime_error("Paint failed.");
        }
        CDialog::OnPaint();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingDialog, CDialog)
ON_MESSAGE(WM_TEST_THROW_BAD_ALLOC, &CThrowingDialog::OnThrowBadAlloc)
ON_MESSAGE(WM_TEST_THROW_RUNTIME, &CThrowingDialog::OnThrowRuntime)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(ExceptionTest, AnExceptionInAHandlerIsReportedAndTheModalDialogStaysUsable) {
    CWinApp app("Exception Test");
    CThrowingDialog dlg;
    CMessageBoxWatcher watcher;
    LRESULT nResults[3] = {-1, -1, 0};
    INT_PTR nResult = RunModalScript(dlg, {[&](CDialog& d) {
                                         nResults[0] = d.SendMessage(WM_TEST_THROW_BAD_ALLOC);
                                         nResults[1] = d.SendMessage(WM_TEST_THROW_RUNTIME);
                                         nResults[2] = d.SendMessage(WM_GETTEXTLENGTH);
                                         d.PostMessage(WM_KEYDOWN, VK_ESCAPE);
                                     }});
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_EQ(0, nResults[0]);
    EXPECT_EQ(0, nResults[1]);
    EXPECT_EQ(21, nResults[2]); // "Framework Test Dialog"
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Out of memory.", boxes[0].strText);
    EXPECT_EQ("Exception Test", boxes[0].strCaption);
    EXPECT_TRUE(boxes[0].HasSystemIcon(IDI_EXCLAMATION));
    EXPECT_EQ("It broke.", boxes[1].strText);
}

TEST(ExceptionTest, AFailedPaintIsReportedOnceAndNotRepeated) {
    CThrowingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(PumpMessagesUntil([&] { return dlg.m_nPaints > 0; }));
    dlg.m_bThrowInPaint = true;
    dlg.m_nPaints = 0;
    CMessageBoxWatcher watcher;
    dlg.Invalidate();
    EXPECT_TRUE(PumpMessagesUntil([&] { return dlg.m_nPaints > 0; }));
    PumpMessagesUntil([] { return false; }, 300); // time for a repeat that must not come
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Paint failed.", boxes[0].strText);
    EXPECT_EQ(1, dlg.m_nPaints);
    RECT rcUpdate;
    EXPECT_FALSE(::GetUpdateRect(dlg, &rcUpdate, FALSE));
}

} // namespace
