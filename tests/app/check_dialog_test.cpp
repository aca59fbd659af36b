// The check dialog, opened with "C&heck..." over the real main dialog and driven inside its
// modal loop: a verdict or a hint for each request pasted or typed, what a URL fills in, what
// screen readers learn, and nothing checked without a usable key.

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "app/kestrow_demo_dlg.h"
#include "app/resource.h"
#include "app/sample_request.h"
#include "tests/app/app_test_helpers.h"

extern CWinApp g_app; // the main dialog suite's, linked with this one

namespace {

// Under the key "secret" (the engine suite's vectors): over UrlInfo and TS without its .000,
// and over SiteLookup and TS.
#define TS "2026-12-05T22:26:06.000Z"
#define SIG_URLINFO_SHORT "dBb86NO6%2FCIe2kPSZDZeWMhr3Pk%3D"
#define SIG_SITELOOKUP "8uXUTR%2Fdxaj2NIDK%2BMYC73jKxAs%3D"

// Whether the check's result starts with strStart.
testing::AssertionResult ResultStarts(HWND hCheck, const std::string& strStart) {
    const std::string str = Text(hCheck, IDC_CHECK_RESULT);
    return str.rfind(strStart, 0) == 0 ? testing::AssertionSuccess()
                                       : testing::AssertionFailure() << str;
}
// Generate's URL under "secret", signed tFromNow seconds from now.
std::string SignedUrl(std::int64_t tFromNow, const std::string& strPrefix = "UrlInfo",
                      const char* pszId = "KID") {
    CString strTs, strSig, strUrl;
    ComposeSampleRequestAt(std::time(nullptr) + tFromNow, "secret", pszId, strPrefix.c_str(), strTs,
                           strSig, strUrl);
    return strUrl.str();
}

// The main dialog, with pszKey and a prefix typed, opens the check dialog (hCheck) for check.
INT_PTR RunCheck(const wchar_t* pszKey, std::function<void(HWND hCheck)> check) {
    CKestrowDemoDlg dlg;
    g_app.m_pMainWnd = &dlg;
    return RunModalScript(dlg, {[&](CDialog& d) {
                                    SetWindowTextW(GetDlgItem(d.m_hWnd, IDC_SECRET_KEY), pszKey);
                                    SetText(GetDlgItem(d.m_hWnd, IDC_PREFIX), kWorldText);
                                    Click(d.m_hWnd, IDC_CHECK);
                                },
                                [&](CDialog& d) { check(BoxOver(d.m_hWnd)); },
                                [](CDialog& d) { CloseDialog(d.m_hWnd, 0, IDCANCEL); }});
}

// The windows whose value screen readers were told changed.
std::set<HWND> s_changed;
void CALLBACK NoteChange(HWINEVENTHOOK, DWORD, HWND hWnd, LONG, LONG, DWORD, DWORD) {
    s_changed.insert(hWnd);
}

} // namespace

// Each case pasted or typed shows each '|'-separated part in the result; while there is a URL
// the fields are read-only, beside their note (what they show: the next test). A paste of any
// length is taken whole, the result is named for screen readers and tells them when it
// changes, and a half character pair is refused in the result (a box would stop the test).
TEST(CheckDialog, ShowsEachVerdictAndHintAsTheFieldsChange) {
    const HWINEVENTHOOK hHook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, NoteChange,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const auto check = [](HWND h) {
        EXPECT_EQ(Text(h, IDC_CHECK_PREFIX) + "|" + Text(h, IDC_CHECK_MAX_SKEW),
                  kWorldText + "|900");
        SetText(GetDlgItem(h, IDC_CHECK_URL), SignedUrl(0, kWorldText));
        EXPECT_TRUE(ResultStarts(h, "Verdict: valid\r\nString to sign: " + kWorldText + "20"));
        std::string strChanged = SignedUrl(0);
        std::size_t nAt = strChanged.find("Signature=") + 10;
        const std::string strSignature = strChanged.substr(nAt);
        for (; strChanged[nAt] == '%'; nAt += 3) { // to a character of the Base64 itself
        }
        strChanged[nAt] = strChanged[nAt] == 'A' ? 'B' : 'A';
        SetText(GetDlgItem(h, IDC_CHECK_PREFIX), "UrlInfo");
        const struct {
            std::string strUrl, strTimestamp, strSignature, strShows;
        } cases[] = {
            {strChanged, "", "", "signature mismatch|Expected signature: " + strSignature},
            {"", TS, "not*Base64", "Verdict: malformed signature"},
            {"", "2026-12-05 22:26:06", SIG_URLINFO_SHORT,
             "malformed timestamp|Timestamp: its distance from now is unknown"},
            {SignedUrl(-2000), "", "", "timestamp too old|Timestamp: 33 min 2|s behind now"},
            {SignedUrl(1005), "", "", "timestamp in the future|Timestamp: 16 min 4|s ahead of now"},
            {"", "2026-12-05T22:26:07.000Z",
             "4WmH60DeAbO6+7UbAlM14oiuktY=", "Hint: the signature was not URL-encoded"},
            {"http://h/?Operation=SiteLookup&Timestamp=" TS "&Signature=" SIG_SITELOOKUP, "", "",
             "Hint: signed with prefix SiteLookup (the URL's Operation), not "},
            {"", TS, SIG_URLINFO_SHORT, "Hint: the signature is over the timestamp wi"},
            {SignedUrl(-7200), "", "", "Hint: the timestamp is 2 hours behind now: was"},
            {SignedUrl(0, "UrlInfo", ""), "", "",
             "Verdict: valid|Hint: the URL still holds the placeholder %key%: put your"},
            {"http://h/?Signature=x", "", "", "the URL's query has no Timestamp."},
            {"", "", "", "Paste a signed request URL"},
        };
        for (const auto& c : cases) {
            SetText(GetDlgItem(h, IDC_CHECK_URL), c.strUrl);
            SetText(GetDlgItem(h, IDC_CHECK_TIMESTAMP), c.strTimestamp);
            SetText(GetDlgItem(h, IDC_CHECK_SIGNATURE), c.strSignature);
            const std::string strResult = Text(h, IDC_CHECK_RESULT);
            for (std::size_t n = 0, nBar = 0; nBar != std::string::npos; n = nBar + 1) {
                nBar = c.strShows.find('|', n);
                EXPECT_NE(strResult.find(c.strShows.substr(n, nBar - n)), std::string::npos)
                    << strResult;
            }
            EXPECT_EQ(
                IsWindowVisible(GetDlgItem(h, IDC_CHECK_FROM_URL)) &&
                    (GetWindowLongW(GetDlgItem(h, IDC_CHECK_SIGNATURE), GWL_STYLE) & ES_READONLY),
                !c.strUrl.empty())
                << c.strUrl;
        }
        const std::string strLong =
            "http://h/?" + std::string(100000, 'x') + "&Timestamp=" TS "&Signature=x";
        ASSERT_TRUE(AfxSetClipboardText(nullptr, strLong.c_str()));
        s_changed.clear();
        SendMessageW(GetDlgItem(h, IDC_CHECK_URL), WM_PASTE, 0, 0);
        EXPECT_TRUE(Text(h, IDC_CHECK_URL) == strLong) << "cut short";
        EXPECT_TRUE(ResultStarts(h, "Verdict: malformed signature"));
        EXPECT_TRUE(PumpMessagesUntil([] { return !s_changed.empty(); }));
        EXPECT_EQ(s_changed, std::set<HWND>{GetDlgItem(h, IDC_CHECK_RESULT)});
        // Screen readers name it by the label before it (the system's rule for an edit).
        EXPECT_EQ(WindowText(GetWindow(GetDlgItem(h, IDC_CHECK_RESULT), GW_HWNDPREV)), "&Result:");
        SetText(GetDlgItem(h, IDC_CHECK_MAX_SKEW), "15 min");
        EXPECT_TRUE(ResultStarts(h, "Nothing was checked: the accepted skew must be a whole"));
        SetText(GetDlgItem(h, IDC_CHECK_URL), "");
        SetWindowTextW(GetDlgItem(h, IDC_CHECK_SIGNATURE), L"sig \xDC00");
        EXPECT_TRUE(ResultStarts(h, "The field \"Signature\" holds text that is not valid"));
        CloseDialog(h, 1, IDCANCEL);
    };
    EXPECT_EQ(RunCheck(L"secret", check), IDCANCEL);
    UnhookWinEvent(hHook);
}

// An empty key, or one the main dialog's Generate would refuse, checks nothing; a URL still fills
// in the fields.
TEST(CheckDialog, ChecksNothingWithoutAUsableKey) {
    const char* pszResult = "Nothing was checked: the Secret Access Key field of the main window";
    const auto check = [&](HWND h) {
        SetText(GetDlgItem(h, IDC_CHECK_URL), "http://h/?Timestamp=" TS "&Signature=x");
        EXPECT_EQ(Text(h, IDC_CHECK_TIMESTAMP) + Text(h, IDC_CHECK_SIGNATURE), TS "x");
        EXPECT_TRUE(ResultStarts(h, pszResult));
        CloseDialog(h, 2, IDCANCEL);
    };
    EXPECT_EQ(RunCheck(L"", check), IDCANCEL);
    pszResult = "The field \"Your Secret Access Key\" holds text that is not valid Unicode";
    EXPECT_EQ(RunCheck(L"key \xDC00", check), IDCANCEL);
}
