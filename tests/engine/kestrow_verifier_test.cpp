#include "engine/kestrow_verifier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/kestrow_engine.h"
#include "engine/utc_timestamp.h"

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

// Whatever the engine signs verifies under the same key and prefix, within the window;
// another key or prefix does not.
TEST(KestrowVerifierTest, RoundTripsOverRandomKeysPrefixesAndTimes) {
    std::uint64_t nState = 2026;
    const auto next = [&nState](std::uint64_t nRange) {
        nState = nState * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::int64_t>((nState >> 11) % nRange);
    };
    const auto text = [&next](std::uint64_t nMax) {
        std::string str(static_cast<std::size_t>(next(nMax + 1)), ' ');
        std::generate(str.begin(), str.end(), [&next] { return static_cast<char>(1 + next(255)); });
        return str;
    };
    for (int i = 0; i < 300; ++i) {
        const std::string strKey = text(80);
        const std::string strPrefix = text(20);
        const std::int64_t t = next(g_tTimestampMax + 1);
        // "/" and "=" may go unencoded; a "+" sent unencoded is a blank, covered by the table.
        const auto pair = EngineSign(strKey, strPrefix, t, static_cast<int>(next(2)));
        if (pair.second.str().find('+') != std::string::npos) {
            continue;
        }
        const std::int64_t tNow = t + next(1801) - 900;
        const auto verdict = [&](const std::string& strVerifierKey, const std::string& strPre) {
            CKestrowVerifier verifier(strVerifierKey.c_str());
            verifier.m_strPrefix = strPre;
            SVerifyResult result;
            return verifier.Verify(pair.first, pair.second, tNow, result);
        };
        ASSERT_EQ(verdict(strKey, strPrefix), VERIFY_VALID) << i;
        ASSERT_EQ(verdict(strKey, strPrefix + "x"), VERIFY_SIGNATURE_MISMATCH) << i;
        ASSERT_EQ(verdict(strKey + "x", strPrefix), VERIFY_SIGNATURE_MISMATCH) << i;
    }
}
