#include "engine/kestrow_verifier.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

constexpr std::int64_t T = 1796509566; // 2026-12-05T22:26:06Z
constexpr std::int64_t NO_SKEW = INT64_MIN;

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
        if (verdict == VERIFY_VALID || verdict >= VERIFY_TIMESTAMP_TOO_OLD) {                      \
            EXPECT_EQ(r.strExpectedSignature, signature); /* it matched */                         \
        }                                                                                          \
    }
#include "verify_vectors.inc"
#undef VERIFY_CASE
    verifier.m_nMaxSkew = -1;
    SVerifyResult result;
    EXPECT_THROW(verifier.Verify("2026-12-05T22:26:06Z", "", T, result), std::invalid_argument);
    EXPECT_THROW(CKestrowVerifier(nullptr), std::invalid_argument);
}
