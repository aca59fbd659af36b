#include "engine/request_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::int64_t T = 1796509566; // 2026-12-05T22:26:06Z
#define TS "2026-12-05T22:26:06.000Z"
// Under the key "secret", over the prefix and TS.
#define SIG_URLINFO "Iq04hkMFVsCYligS9HfpoKVT2Vs%3D"
#define SIG_SITELOOKUP "8uXUTR%2Fdxaj2NIDK%2BMYC73jKxAs%3D"

// The request checked: its hints must start with strStart ("code: text", one per line), or be
// none when strStart is empty.
void ExpectHints(const SVerifyRequest& request, const std::string& strStart) {
    std::string strHints;
    for (const SVerifyHint& hint : CheckRequest(request).hints) {
        strHints += hint.strCode + ": " + hint.strText + "\n";
    }
    EXPECT_EQ(strHints.rfind(strStart, 0), 0u) << strHints;
    EXPECT_EQ(strHints.empty(), strStart.empty()) << strHints;
}

} // namespace

// Each hint where its mistake explains the refusal, and none where it does not (the dialog's
// suite has the words of each through the window).
TEST(RequestCheck, TriesTheCommonMistakes) {
    const struct {
        const char *pszTimestamp, *pszSignature, *pszOperation, *pszPrefix;
        std::int64_t tNow;
        const char* pszHints;
    } cases[] = {
        {TS, "Iq04hkMFVsCYligS9HfpoKVT2 s=", nullptr, "UrlInfo", T, ""},
        {TS, SIG_URLINFO, "UrlInfo", "SiteLookup", T - 5000, "other-prefix: signed with prefix "},
        {TS, SIG_SITELOOKUP, "SiteLookup", "SiteLookup", T, ""},
        {TS, SIG_SITELOOKUP, "Other", "UrlInfo", T, ""},
        {"2026-12-05T22:26:06Z", SIG_URLINFO, nullptr, "UrlInfo", T + 5000,
         "timestamp-form: the timestamp has no .000: the signature is over " TS},
        {TS, "dBb86NO6%2FCIe2kPSZDZeWMhr3Pk%3D", nullptr, "UrlInfo", T, // over …:06Z
         "timestamp-form: the signature is over the timestamp without .000, 2026-12-05T22:26:06Z"},
        {TS, SIG_SITELOOKUP, nullptr, "UrlInfo", T, ""},
        {"2026-12-05T22:26:06.0Z", SIG_URLINFO, "UrlInfo", "SiteLookup", T, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszSignature);
        ExpectHints({"secret", c.pszPrefix, c.pszTimestamp, c.pszSignature,
                     c.pszOperation != nullptr, c.pszOperation != nullptr ? c.pszOperation : "",
                     c.tNow, 900},
                    c.pszHints);
    }
}

// Outside the window by a whole number of hours, 1 to 14, give or take the window.
TEST(RequestCheck, HoursOffAtTheEdges) {
    const struct {
        std::int64_t nSkew, nMaxSkew;
        const char* pszHint; // after "hours-off: the timestamp is "
    } cases[] = {
        {7195, 900, "2 hours ahead of now: was a local time taken for UTC? "},
        {-3600 - 900, 900, "1 hour behind now"},
        {3600 - 900, 900, "1 hour ahead of now"},
        {-3600 - 901, 900, nullptr},
        {3600 + 901, 900, nullptr},
        {14 * 3600 + 10, 10, "14 hours ahead of now"},
        {14 * 3600 + 1799, 1800, "14 hours ahead of now"},
        {15 * 3600 - 10, 10, nullptr},
        {-15 * 3600, 10, nullptr},
        {1000, 10, nullptr},
        {7200, 7200, nullptr},
        {-7200, 7200, nullptr},
        {INT64_MAX, 900, nullptr},
        {T - INT64_MAX, 900, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nSkew);
        ExpectHints({"secret", "UrlInfo", TS, SIG_URLINFO, false, "", T - c.nSkew, c.nMaxSkew},
                    c.pszHint != nullptr ? "hours-off: the timestamp is " + std::string(c.pszHint)
                                         : "");
    }
}
