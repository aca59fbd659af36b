// The window-free parts of the program: the Generate operation, the check's words for the
// timestamp's distance from now, and the minimised icon.

#include <gtest/gtest.h>

#include <string>

#include "app/check_report.h"
#include "app/icon_position.h"
#include "app/sample_request.h"

TEST(SampleRequest, FillsThePlaceholdersWithTheAccessKeyIdAsAQueryValue) {
    const char* const pszTimestamp = "2026-12-05T22:26:06.000Z";
    const struct {
        const char *pszKey, *pszId, *pszIdInUrl, *pszPrefix, *pszSignature;
    } cases[] = {
#include "tests/app/sample_request_vectors.inc"
    };
    for (const auto& c : cases) {
        CString strTs, strSig, strUrl;
        const bool bComplete = ComposeSampleRequestAt(1796509566, c.pszKey, c.pszId, c.pszPrefix,
                                                      strTs, strSig, strUrl);
        EXPECT_EQ(bComplete, *c.pszId != '\0') << c.pszId;
        EXPECT_EQ(strTs.str(), pszTimestamp);
        EXPECT_EQ(strSig.str(), c.pszSignature) << c.pszKey << " " << c.pszPrefix;
        EXPECT_EQ(strUrl.str(),
                  "http://webinfo.example.com?Operation=UrlInfo&ResponseGroup=Rank&AccessKeyId=" +
                      std::string(c.pszIdInUrl) + "&Url=www.example.com&Timestamp=" + pszTimestamp +
                      "&Signature=" + c.pszSignature);
    }
}

// The odd pixel goes to the first margin; a client smaller than the icon truncates
// toward zero ((-1) / 2 is 0, not -1).
TEST(CenteredIconOffset, CentresWithTheOddPixelInTheFirstMargin) {
    const int cases[][3] = {{32, 32, 0}, {36, 32, 2}, {48, 16, 16}, {33, 32, 1}, {37, 32, 3},
                            {31, 32, 0}, {30, 32, 0}, {29, 32, -1}, {0, 32, -15}};
    for (const auto& c : cases) {
        EXPECT_EQ(CenteredIconOffset(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
    }
}

// The second itself is "from now"; durations come largest unit first.
TEST(CheckReport, SaysHowFarTheTimestampLiesFromNow) {
    SCheckFields fields{"", "2026-12-05T22:26:06.000Z", "Iq04hkMFVsCYligS9HfpoKVT2Vs%3D", "UrlInfo",
                        "90061"}; // under "secret", checked at that second
    const std::string str = DescribeCheckAt(1796509566, "secret", fields).str();
    EXPECT_EQ(str.substr(str.find("Timestamp: ")),
              "Timestamp: 0 s from now (accepted: 1 d 1 h 1 min 1 s either way)");
}
