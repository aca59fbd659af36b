#include "app/sample_request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SampleRequest, FillsThePlaceholdersAndKeepsInsertedTextsLiteral) {
    const char* kTimestamps[] = {"2026-12-05T22:26:06.000Z", "2026-12-05T22:26:07.000Z"};
    const struct {
        int nSecond;
        const char *pszId, *pszPrefix, *pszSignature;
    } cases[] = {
#include "tests/app/sample_request_vectors.inc"
    };
    for (const auto& c : cases) {
        CString strTs, strSig, strUrl;
        const bool bComplete = ComposeSampleRequestAt(1796509566 + c.nSecond, "secret", c.pszId,
                                                      c.pszPrefix, strTs, strSig, strUrl);
        EXPECT_EQ(bComplete, *c.pszId != '\0') << c.pszId;
        EXPECT_EQ(strTs.str(), kTimestamps[c.nSecond]);
        EXPECT_EQ(strSig.str(), c.pszSignature) << c.pszPrefix;
        EXPECT_EQ(
            strUrl.str(),
            "http://webinfo.example.com?Operation=UrlInfo&ResponseGroup=Rank&AWSAccessKeyId=" +
                std::string(bComplete ? c.pszId : "%key%") + "&Url=www.example.com&Timestamp=" +
                kTimestamps[c.nSecond] + "&Signature=" + c.pszSignature);
    }
}

} // namespace
