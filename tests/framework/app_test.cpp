// The application object, string resources, message boxes, and exceptions escaping
// handlers, under Wine with real windows.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "framework/afx.h"
#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

TEST(StringResourceTest, LoadStringReadsTheStringTable) {
    CString str("previous");
    EXPECT_TRUE(str.LoadString(IDS_TEST_SHORT));
    EXPECT_EQ("Loaded from the string table", str);

    EXPECT_TRUE(str.LoadString(IDS_TEST_LONG)); // longer than a first guess of a buffer
    EXPECT_EQ(324, str.GetLength());
    EXPECT_EQ(0, str.str().compare(str.GetLength() - 4, 4, "|end"));
}

TEST(StringResourceTest, AMissingIdGivesFalseAndTheEmptyText) {
    CString str("previous");
    EXPECT_FALSE(str.LoadString(IDS_TEST_MISSING));
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ApplicationTest, ANamelessApplicationTakesItsTitleResource) {
    CWinApp app;
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_STREQ(IDS_TEST_APP_TITLE_TEXT, app.m_pszAppName);
    EXPECT_STREQ("framework_win_tests", app.m_pszExeName);
    EXPECT_EQ(CString(IDS_TEST_APP_TITLE_TEXT), AfxGetAppName());
}

TEST(ApplicationTest, WithoutATitleResourceTheNameIsTheFileTitle) {
    HMODULE hModule = ::GetModuleHandleA("kernel32.dll"); // a module without that string
    ASSERT_NE(nullptr, hModule);
    EXPECT_EQ(0, ::lstrcmpiA("kernel32", AfxDeriveAppName(hModule)));
}

TEST(ApplicationTest, AGivenNameIsKept) {
    CWinApp app("Given Name");
    EXPECT_STREQ("Given Name", app.m_pszAppName);
    EXPECT_EQ(CString("Given Name"), AfxGetAppName());
}

class CHelpApp : public CWinApp {
public:
    CHelpApp() : CWinApp("Help Test") {}
    int m_nHelp = 0;

protected:
    void OnHelpCommand() { ++m_nHelp; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpApp, CWinApp)
ON_COMMAND(ID_HELP, &CHelpApp::OnHelpCommand)
END_MESSAGE_MAP()

TEST(ApplicationTest, HelpFromADialogReachesTheApplicationsMap) {
    CHelpApp app;
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.SendMessage(WM_COMMAND, ID_HELP, 0);
    EXPECT_EQ(1, app.m_nHelp);
}

TEST(ApplicationTest, TheFrameworksHelpHandlerReportsAMissingHelpFile) {
    class CFrameworkHelpApp : public CWinApp {
    public:
        CFrameworkHelpApp() : CWinApp("Framework Help") {}
    } app;
    CMessageBoxWatcher watcher;
    app.OnHelp(); // there is no help file next to the tests
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Framework Help", boxes[0].strCaption);
    EXPECT_EQ("Failed to launch help.", boxes[0].strText);
}

TEST(MessageBoxTest, AfxMessageBoxShowsTheTextUnderTheApplicationsName) {
    CWinApp app("Box Caption");
    CMessageBoxWatcher watcher;
    EXPECT_EQ(IDOK, AfxMessageBox("Line one\nline two", MB_ICONEXCLAMATION | MB_OK));
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Box Caption", boxes[0].strCaption);
    EXPECT_EQ("Line one\nline two", boxes[0].strText);
    EXPECT_TRUE(boxes[0].HasSystemIcon(IDI_EXCLAMATION));
    EXPECT_TRUE(boxes[0].HasButton(IDOK));
    EXPECT_FALSE(boxes[0].HasButton(IDNO));
}

TEST(MessageBoxTest, AfxMessageBoxIsOwnedByTheMainWindow) {
    CWinApp app;
    CDialog main(IDD_TEST_DIALOG);
    ASSERT_TRUE(main.Create(IDD_TEST_DIALOG));
    main.ShowWindow(SW_SHOW);
    app.m_pMainWnd = &main;
    CMessageBoxWatcher watcher(IDNO);
    EXPECT_EQ(IDNO, AfxMessageBox("Question?", MB_YESNO));
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(main.m_hWnd, boxes[0].hWndOwner);
    EXPECT_EQ(IDS_TEST_APP_TITLE_TEXT, boxes[0].strCaption);
    EXPECT_EQ(nullptr, boxes[0].hIcon);
}

TEST(MessageBoxTest, CWndMessageBoxShowsTheGivenCaptionOverItsWindow) {
    CDialog dlg(IDD_TEST_DIALOG);
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.ShowWindow(SW_SHOW);
    CMessageBoxWatcher watcher;
    EXPECT_EQ(IDOK, dlg.MessageBox("You have selected \"this\".", "Notice", MB_OK));
    EXPECT_EQ(IDOK, dlg.MessageBox("No caption given"));
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Notice", boxes[0].strCaption);
    EXPECT_EQ("You have selected \"this\".", boxes[0].strText);
    EXPECT_EQ(dlg.m_hWnd, boxes[0].hWndOwner);
    EXPECT_EQ(nullptr, boxes[0].hIcon);
    EXPECT_EQ(IDS_TEST_APP_TITLE_TEXT, boxes[1].strCaption); // no application object
}

// ---- Exceptions escaping handlers ----

const UINT WM_TEST_THROW_BAD_ALLOC = WM_APP + 20;
const UINT WM_TEST_THROW_RUNTIME = WM_APP + 21;
const UINT WM_TEST_ECHO = WM_APP + 22;

class CThrowingDialog : public CDialog {
public:
    CThrowingDialog() : CDialog(IDD_TEST_DIALOG) {}
    int m_nPaints = 0;
    bool m_bThrowInPaint = false;

protected:
    afx_msg LRESULT OnThrowBadAlloc(WPARAM, LPARAM) { throw std::bad_alloc(); }
    afx_msg LRESULT OnThrowRuntime(WPARAM, LPARAM) {
        throw std::runtime_error("The handler broke.");
    }
    afx_msg LRESULT OnEcho(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam); }
    afx_msg void OnThrowClicked() { throw std::bad_alloc(); }
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
ON_MESSAGE(WM_TEST_ECHO, &CThrowingDialog::OnEcho)
ON_BN_CLICKED(IDC_TEST_THROW, &CThrowingDialog::OnThrowClicked)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(ExceptionTest, AnExceptionInAHandlerIsReportedAndTheWindowStaysUsable) {
    CWinApp app("Exception Test");
    CThrowingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    CMessageBoxWatcher watcher;
    EXPECT_EQ(0, dlg.SendMessage(WM_TEST_THROW_BAD_ALLOC));
    EXPECT_EQ(0, dlg.SendMessage(WM_TEST_THROW_RUNTIME));
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Out of memory.", boxes[0].strText);
    EXPECT_EQ("Exception Test", boxes[0].strCaption);
    EXPECT_TRUE(boxes[0].HasSystemIcon(IDI_EXCLAMATION));
    EXPECT_EQ("The handler broke.", boxes[1].strText);

    ASSERT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(dlg.m_hWnd));
    EXPECT_EQ(55, dlg.SendMessage(WM_TEST_ECHO, 55));
}

TEST(ExceptionTest, AnExceptionInsideTheModalLoopLeavesTheDialogRunning) {
    CThrowingDialog dlg;
    CMessageBoxWatcher watcher;
    bool bOpenAfter = false;
    INT_PTR nResult = RunModalScript(
        dlg,
        {
            [](CDialog& d) {
                ::PostMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_THROW, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(d.m_hWnd, IDC_TEST_THROW)));
            },
            [](CDialog&) {}, // the report is shown and dismissed meanwhile
            [&](CDialog& d) {
                bOpenAfter = ::IsWindowVisible(d.m_hWnd) != FALSE;
                ::PostMessageA(d.m_hWnd, WM_COMMAND, IDCANCEL, 0);
            },
        });
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_TRUE(bOpenAfter);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Out of memory.", boxes[0].strText);
}

TEST(ExceptionTest, AFailedPaintIsReportedOnceAndNotRepeated) {
    CThrowingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.ShowWindow(SW_SHOW);
    PumpMessagesFor(200);
    dlg.m_bThrowInPaint = true;
    dlg.m_nPaints = 0;
    CMessageBoxWatcher watcher;
    dlg.Invalidate();
    dlg.UpdateWindow();
    PumpMessagesFor(300);
    std::vector<MessageBoxRecord> boxes = watcher.Stop();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Paint failed.", boxes[0].strText);
    EXPECT_EQ(1, dlg.m_nPaints);
    RECT rcUpdate;
    EXPECT_FALSE(::GetUpdateRect(dlg.m_hWnd, &rcUpdate, FALSE));
}

} // namespace
