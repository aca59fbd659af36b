// The real main dialog and its About box, driven from steps run inside their modal
// loops, as the program's InitInstance runs them.

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "app/kestrow_demo_dlg.h"
#include "app/resource.h"
#include "app/sample_request.h"
#include "controls/home_page.h"
#include "tests/app/app_test_helpers.h"
#include "tests/support/win_test_support.h"

CWinApp g_app; // stands in for theApp; its InitInstance never runs

INT_PTR RunMain(std::vector<ModalStep> steps) {
    CKestrowDemoDlg dlg;
    g_app.m_pMainWnd = &dlg;
    return RunModalScript(dlg, std::move(steps));
}

const int kEdits[] = {IDC_SECRET_KEY, IDC_ACCESS_KEY_ID, IDC_PREFIX,
                      IDC_TIMESTAMP,  IDC_SIGNATURE,     IDC_SAMPLE_URL};

// What the results show: the three fields and whether "&Test URL" is enabled.
std::string Results(const CDialog& d) {
    return Text(d, IDC_TIMESTAMP) + "|" + Text(d, IDC_SIGNATURE) + "|" + Text(d, IDC_SAMPLE_URL) +
           (IsWindowEnabled(GetDlgItem(d.m_hWnd, IDC_TEST_URL)) ? "|enabled" : "");
}
const ModalStep kExit = [](CDialog& d) { Click(d.m_hWnd, IDCANCEL); };
// Types the inputs (UTF-8) and presses Enter in the edit field nEnterIn, which presses
// "&Generate".
void Generate(const CDialog& d, const char* pszKey, const char* pszId, const char* pszPrefix,
              int nEnterIn) {
    SetText(GetDlgItem(d.m_hWnd, IDC_SECRET_KEY), pszKey);
    SetText(GetDlgItem(d.m_hWnd, IDC_ACCESS_KEY_ID), pszId);
    SetText(GetDlgItem(d.m_hWnd, IDC_PREFIX), pszPrefix);
    PostMessageW(GetDlgItem(d.m_hWnd, nEnterIn), WM_KEYDOWN, VK_RETURN, 1);
}
// A box's caption and what its visible controls show, an icon as "<icon>".
std::set<std::string> Shown(HWND hBox) {
    std::set<std::string> shown{WindowText(hBox)};
    for (HWND h = GetWindow(hBox, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const std::string str = SendMessageW(h, STM_GETICON, 0, 0) ? "<icon>" : WindowText(h);
        if (IsWindowVisible(h) && !str.empty()) {
            shown.insert(str);
        }
    }
    return shown;
}

// What the results must show for the inputs c (key, id, prefix) signed at a second since
// tFrom: the one the timestamp shows.
std::string Expected(const CDialog& d, std::int64_t tFrom, const char* const* c) {
    CString strTs, strSig, strUrl;
    bool bComplete = false;
    for (std::int64_t t = tFrom - 1;
         t <= std::time(nullptr) + 1 && strTs != Text(d, IDC_TIMESTAMP).c_str(); ++t) {
        bComplete = ComposeSampleRequestAt(t, c[0], c[1], c[2], strTs, strSig, strUrl);
    }
    return strTs.str() + "|" + strSig.str() + "|" + strUrl.str() + (bComplete ? "|enabled" : "");
}

TEST(MainDialog, StartState) {
    const ModalStep check = [](CDialog& d) {
        // Every text shown: the key and the Access Key ID empty, the default prefix.
        EXPECT_EQ(
            Shown(d.m_hWnd),
            (std::set<std::string>{
                "Ombry Kestrow Demo",
                "This demo is based on the same engine as the Ombry Kestrow ActiveX "
                "component.\nFeel free to try it to see what you can expect from the ActiveX.",
                "Your Secret Access Key:", "Access Key ID (optional):", "Service/Operation Prefix:",
                "UrlInfo", "&Generate", "Timestamp:", "Signature:", "C&heck...", "Sample URL",
                "&Test URL", KESTROW_HOME_PAGE_URL, "E&xit"}));
        // "C&heck..." in reading order: after the Signature field, before the Sample URL.
        const HWND hCheck = GetNextDlgTabItem(d.m_hWnd, GetDlgItem(d.m_hWnd, IDC_SIGNATURE), 0);
        EXPECT_EQ(GetDlgCtrlID(hCheck), IDC_CHECK);
        EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(d.m_hWnd, hCheck, FALSE)), IDC_SAMPLE_URL);
        EXPECT_EQ(Results(d), "||") << "results shown, or \"&Test URL\" enabled";
        EXPECT_EQ(GetFocus(), GetDlgItem(d.m_hWnd, IDC_SECRET_KEY));
        // The icons themselves are the layout test's.
        EXPECT_EQ(d.SendMessage(WM_QUERYDRAGICON), d.SendMessage(WM_GETICON, ICON_BIG));
        // The About item last, once, after a separator; nothing without its text.
        const HMENU hMenu = GetSystemMenu(d.m_hWnd, FALSE);
        const int n = GetMenuItemCount(hMenu);
        EXPECT_NE(GetMenuItemID(hMenu, n - 3), static_cast<UINT>(IDM_ABOUTBOX)) << "twice";
        EXPECT_EQ(GetMenuItemID(hMenu, n - 1) == IDM_ABOUTBOX, KESTROW_ABOUT_ITEM == 1);
        EXPECT_EQ(GetMenuState(hMenu, n - 1 - KESTROW_ABOUT_ITEM, MF_BYPOSITION) & MF_SEPARATOR,
                  KESTROW_ABOUT_ITEM * MF_SEPARATOR);
        wchar_t szText[64] = {};
        GetMenuStringW(hMenu, IDM_ABOUTBOX, szText, 64, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(szText), KESTROW_ABOUT_ITEM ? L"&About KestrowDemo..." : L"");
        kExit(d);
    };
    EXPECT_EQ(RunMain({check}), IDCANCEL);
}

// What is typed is what is signed and put in the URL (the composer's at the second shown,
// whose known answers over UTF-8 are its own suite's), and what the fields read back. Without
// an Access Key ID the notice comes once, over the earlier results, and "&Test URL" ends
// disabled. Each press is Enter in another edit field. Last, half of a character pair in the
// key field is refused with a box that names it: nothing signed, nothing shown before lost,
// the focus on the field. Escape ends the dialog.
TEST(MainDialog, GenerateSignsWhatIsTypedAndNoticesAMissingAccessKeyId) {
    const char* kCases[][3] = {{"測試密鑰", "KESTROWMADEUP01", "UrlInfo"},
                               {"日本語鍵", "", "UrlInfo"},
                               {"Grüße-€", "", "Ελληνικά測試 \U0001F511"},
                               {"", "ÄKID", ""}};
    std::vector<ModalStep> steps;
    std::int64_t tFrom = 0;
    std::string strOld;
    for (int i = 0; i < 4; ++i) {
        const char* const* c = kCases[i];
        steps.push_back([&, c, i](CDialog& d) {
            strOld = Results(d);
            tFrom = std::time(nullptr);
            Generate(d, c[0], c[1], c[2], kEdits[i]);
        });
        steps.push_back([&, c](CDialog& d) {
            const HWND hBox = BoxOver(d.m_hWnd);
            ASSERT_EQ(hBox != nullptr, *c[1] == '\0') << "notice for \"" << c[1] << "\"";
            if (hBox != nullptr) {
                // MB_OK: the text and OK only, no icon.
                EXPECT_EQ(
                    Shown(hBox),
                    (std::set<std::string>{
                        "Notice", "OK",
                        "You have selected to leave the \"Access Key ID\" field empty, this "
                        "gives you better privacy.\nHowever the generated sample URL is not "
                        "complete until you fill-in your Access Key ID in the place indicated "
                        "by %key%."}));
                EXPECT_EQ(Results(d), strOld) << "changed under the notice";
                Click(hBox, IDOK);
            }
        });
        steps.push_back([&, c](CDialog& d) {
            EXPECT_EQ(BoxOver(d.m_hWnd), nullptr) << "a second notice";
            EXPECT_EQ(Results(d), Expected(d, tFrom, c));
            EXPECT_EQ(Text(d, IDC_SECRET_KEY) + Text(d, IDC_ACCESS_KEY_ID) + Text(d, IDC_PREFIX),
                      std::string(c[0]) + c[1] + c[2]);
        });
    }
    steps.push_back([&](CDialog& d) {
        strOld = Results(d);
        SetWindowTextW(GetDlgItem(d.m_hWnd, IDC_SECRET_KEY), L"key \xDC00 half");
        PostMessageW(GetDlgItem(d.m_hWnd, IDC_PREFIX), WM_KEYDOWN, VK_RETURN, 1);
    });
    steps.push_back([&](CDialog& d) {
        const HWND hBox = BoxOver(d.m_hWnd);
        ASSERT_NE(hBox, nullptr);
        EXPECT_NE(WindowText(GetDlgItem(hBox, 0xFFFF)).find("\"Your Secret Access Key\" holds"),
                  std::string::npos);
        Click(hBox, IDOK);
    });
    steps.push_back([&](CDialog& d) {
        EXPECT_EQ(BoxOver(d.m_hWnd), nullptr) << "a notice, or the box again";
        EXPECT_EQ(Results(d), strOld);
        EXPECT_EQ(GetFocus(), GetDlgItem(d.m_hWnd, IDC_SECRET_KEY));
        CloseDialog(d.m_hWnd, 1, IDCANCEL);
    });
    EXPECT_EQ(RunMain(steps), IDCANCEL);
}

// Each time the About box shows its contents; it closes with OK, Escape or the close
// command, in turn. The close command ends the dialog.
TEST(MainDialog, SystemCommandsOfTheAboutItemOpenTheAboutBox) {
    std::vector<ModalStep> steps;
    for (UINT nCommand = 0x0010; nCommand <= 0x0020; ++nCommand) {
        steps.push_back([nCommand](CDialog& d) {
            EXPECT_TRUE(d.IsWindowEnabled() && !BoxOver(d.m_hWnd)) << "a box stayed open";
            d.PostMessage(WM_SYSCOMMAND, nCommand);
        });
        steps.push_back([nCommand](CDialog& d) {
            const HWND hAbout = BoxOver(d.m_hWnd);
            ASSERT_EQ(hAbout != nullptr, nCommand < 0x0020) << "About box for " << nCommand;
            if (hAbout == nullptr) {
                return;
            }
            EXPECT_EQ(Shown(hAbout),
                      (std::set<std::string>{"About KestrowDemo", "<icon>", "OK",
                                             "KestrowDemo Version 1.0", KESTROW_HOME_PAGE_URL}));
            // The link became a hyperlink, which wants its clicks.
            EXPECT_TRUE(GetWindowLongW(GetDlgItem(hAbout, IDC_HOME_LINK), GWL_STYLE) & SS_NOTIFY);
            CloseDialog(hAbout, nCommand, IDOK);
        });
    }
    steps.push_back([](CDialog& d) { CloseDialog(d.m_hWnd, 2, IDCANCEL); });
    EXPECT_EQ(RunMain(steps), IDCANCEL);
}

// The recording helper stands in as the shell's http handler.
TEST(MainDialog, TestUrlOpensTheUrlOfTheLastGenerateEvenAfterEditing) {
    const std::string strHelper = "\"" + BesideSelf(KESTROW_RECORD_HELPER_RELATIVE) + "\" ";
    const std::string strRecord = BesideSelf("test_url_record.txt");
    SetEnvironmentVariableW(L"KESTROW_RECORD_FILE", CWideText(strRecord.c_str()));
    const CClassesRootValue handler("http\\shell\\open\\command", strHelper + "\"%1\"");
    std::string strGenerated;
    EXPECT_EQ(RunMain({[](CDialog& d) { Generate(d, "secret", "KEYID", "UrlInfo", IDC_PREFIX); },
                       [&](CDialog& d) {
                           strGenerated = Text(d, IDC_SAMPLE_URL);
                           SetText(GetDlgItem(d.m_hWnd, IDC_ACCESS_KEY_ID), "OTHER");
                           SetText(GetDlgItem(d.m_hWnd, IDC_SAMPLE_URL), "http://edited.test/");
                           Click(d.m_hWnd, IDC_TEST_URL);
                           kExit(d);
                       }}),
              IDCANCEL);
    EXPECT_EQ(TakeRecord(strRecord, 30000), strHelper + "\"" + strGenerated + "\"");
}
