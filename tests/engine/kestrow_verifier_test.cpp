#include "engine/kestrow_verifier.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/kestrow_engine.h"

namespace {

constexpr std::int64_t T = 1796509566; // 2026-12-05T22:26:06Z
constexpr std::int64_t NO_SKEW = INT64_MIN;

// The engine's timestamp and signature at t.
std::pair<CString, CString> EngineSign(const std::string& strKey, const std::string& strPrefix,
                                       std::int64_t t, int bUrlEncode = 1) {
    CKestrowEngine engine;
    engine.m_bUrlEncode = bUrlEncode;
    engine.m_strPrefix = strPrefix;
    engine.SetSecretKey(strKey.c_str());
    std::pair<CString, CString> pair;
    EXPECT_TRUE(engine.SignAt(t, pair.first, pair.second));
    return pair;
}

} // namespace

TEST(KestrowVerifierTest, EachVerdictWithItsDiagnosis) {
    CKestrowVerifier verifier("secret");
    verifier.m_strPrefix = "UrlInfo";
#define VERIFY_CASE(timestamp, signature, now, skew, verdict, expected_skew)                       \
    {                                                                                              \
        const std::string strTimestamp = timestamp;                                                \
        SCOPED_TRACE(strTimestamp + " " + signature);                                              \
        verifier.m_nMaxSkew = skew;                                                                \
        SVerifyResult r;                                                                           \
        EXPECT_EQ(verifier.Verify(strTimestamp, signature, now, r), verdict);                      \
        EXPECT_EQ(r.nVerdict, verdict);                                                            \
        EXPECT_EQ(r.strStringToSign.str(), "UrlInfo" + strTimestamp);                              \
        EXPECT_EQ(r.bTimestampRead ? r.nSkew : NO_SKEW, expected_skew);                            \
        if (r.bTimestampRead && strTimestamp.size() == 24) {                                       \
            EXPECT_EQ(r.strExpectedSignature,                                                      \
                      EngineSign("secret", "UrlInfo", r.tTimestamp).second);                       \
        }                                                                                          \
    }
#include "verify_vectors.inc"
#undef VERIFY_CASE
    verifier.m_nMaxSkew = -1;
    SVerifyResult result;
    EXPECT_THROW(verifier.Verify("2026-12-05T22:26:06Z", "", T, result), std::invalid_argument);
    EXPECT_THROW(CKestrowVerifier(nullptr), std::invalid_argument);
}
