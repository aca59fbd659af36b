#include "app/sample_request.h"

#include <gtest/gtest.h>

#include <string>

// Signatures from python3: urllib.parse.quote(base64.b64encode(hmac.new(key,
// (prefix + timestamp).encode(), hashlib.sha1).digest()).decode(), safe='').

namespace {

constexpr std::int64_t kT = 1796509566; // 2026-12-05T22:26:06Z, calendar.timegm

std::string Url(const std::string& strId, const std::string& strTs, const std::string& strSig) {
    return "http://webinfo.example.com?Operation=UrlInfo&ResponseGroup=Rank&AWSAccessKeyId=" +
           strId + "&Url=www.example.com&Timestamp=" + strTs + "&Signature=" + strSig;
}

// The URL, after checking that the flag and the inserted texts agree with it.
std::string ComposeAt(std::int64_t t, const char* pszKey, const char* pszId, const char* pszPrefix,
                      std::string* pstrSignature = nullptr) {
    CString strTimestamp;
    CString strSignature;
    CString strUrl;
    const bool bComplete =
        ComposeSampleRequestAt(t, pszKey, pszId, pszPrefix, strTimestamp, strSignature, strUrl);
    EXPECT_EQ(bComplete, *pszId != '\0');
    EXPECT_EQ(strUrl.str(),
              Url(bComplete ? pszId : "%key%", strTimestamp.str(), strSignature.str()));
    if (pstrSignature != nullptr) {
        *pstrSignature = strSignature.str();
    }
    return strUrl.str();
}

} // namespace

TEST(SampleRequestTest, FillsTheTemplate) {
    EXPECT_EQ(std::string(g_szSampleUrlTemplate), Url("%key%", "%timestamp%", "%signature%"));
    EXPECT_STREQ(g_szSampleEndpointHost, "webinfo.example.com");
    EXPECT_STREQ(g_szSampleSiteHost, "www.example.com");
    EXPECT_EQ(ComposeAt(kT, "secret", "AKID", "UrlInfo"),
              Url("AKID", "2026-12-05T22:26:06.000Z", "Iq04hkMFVsCYligS9HfpoKVT2Vs%3D"));
    EXPECT_NE(ComposeAt(kT, "secret", "", "UrlInfo").find("AWSAccessKeyId=%key%&Url="),
              std::string::npos);
    ComposeAt(kT, "secret", "   ", "UrlInfo"); // blanks count as an id
}

TEST(SampleRequestTest, InsertedTextsStayLiteral) {
    // Placeholders inside the id are inserted after their own replacement: never expanded.
    ComposeAt(kT, "secret", "a&b %timestamp%%signature%%key%", "UrlInfo");
    // The prefix enters only the signature, whatever it holds.
    std::string strSignature;
    const std::string strUrl = ComposeAt(kT, "secret", "", "%key%ItemLookup");
    ComposeAt(kT, "secret", "ID", "ItemLookup", &strSignature);
    EXPECT_EQ(strSignature, "Q1Zj8RlImlZzHFFFdcavKzkPUFc%3D");
    EXPECT_EQ(strUrl.find("ItemLookup"), std::string::npos);
}

TEST(SampleRequestTest, EachSecondSignsAfresh) {
    EXPECT_EQ(ComposeAt(kT, "secret", "ID", "UrlInfo"), ComposeAt(kT, "secret", "ID", "UrlInfo"));
    EXPECT_EQ(ComposeAt(kT + 1, "secret", "ID", "UrlInfo"),
              Url("ID", "2026-12-05T22:26:07.000Z", "4WmH60DeAbO6%2B7UbAlM14oiuktY%3D"));
    CString strTimestamp;
    CString strSignature;
    CString strUrl;
    EXPECT_FALSE(ComposeSampleRequest("secret", "", "", strTimestamp, strSignature, strUrl));
    EXPECT_EQ(strTimestamp.GetLength(), 24);
    EXPECT_EQ(strUrl.str(), Url("%key%", strTimestamp.str(), strSignature.str()));
}
