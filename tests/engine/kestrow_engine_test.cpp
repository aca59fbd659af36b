#include "engine/kestrow_engine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "tests/crypto/sha1_paths.h"

namespace {

constexpr std::int64_t kT = 1796509566; // 2026-12-05T22:26:06Z
// From signature_vectors.inc.
const char* const kSecretAtT = "2026-12-05T22:26:06.000Z|Iq04hkMFVsCYligS9HfpoKVT2Vs%3D";

// "timestamp|signature", after "failed: " when SignAt returned false.
std::string SignAt(CKestrowEngine& engine, std::int64_t t) {
    CString strTimestamp("untouched");
    CString strSignature("untouched");
    const bool bSigned = engine.SignAt(t, strTimestamp, strSignature);
    return (bSigned ? "" : "failed: ") + strTimestamp.str() + "|" + strSignature.str();
}

struct CKeyedEngine : CKestrowEngine {
    CKeyedEngine(const char* pszKey, const char* pszPrefix, int bUrlEncode = 1) {
        m_strPrefix = pszPrefix;
        m_bUrlEncode = bUrlEncode;
        EXPECT_TRUE(SetSecretKey(pszKey));
    }
};

std::string Fresh(const char* pszKey, const char* pszPrefix, std::int64_t t, int bUrlEncode = 1) {
    CKeyedEngine engine(pszKey, pszPrefix, bUrlEncode);
    return SignAt(engine, t);
}

using KestrowEngineKnownAnswer = CSha1PathTest;

} // namespace

TEST_P(KestrowEngineKnownAnswer, Signatures) {
#define SIGNATURE_VECTOR(key, prefix, t, encode, expected)                                         \
    EXPECT_EQ(Fresh(key, prefix, t, encode), expected) << t;
#include "signature_vectors.inc"
#undef SIGNATURE_VECTOR
}
KESTROW_ON_BOTH_SHA1_PATHS(KestrowEngineKnownAnswer);

// The default interval is 300 s.
TEST(KestrowEngineTest, CacheWithinTheIntervalUntilReKeyed) {
    CKeyedEngine engine("secret", "UrlInfo");
    EXPECT_EQ(SignAt(engine, kT), kSecretAtT);
    engine.m_strPrefix = "SiteLookup"; // neither counts inside the interval
    engine.m_bUrlEncode = 0;
    EXPECT_FALSE(engine.SetSecretKey("secret")); // nor the same key again
    EXPECT_EQ(SignAt(engine, kT + 299), kSecretAtT);
    EXPECT_EQ(SignAt(engine, kT - 100000), kSecretAtT); // clock set back
    EXPECT_EQ(SignAt(engine, kT + 300), Fresh("secret", "SiteLookup", kT + 300, 0));
    engine.m_tLastSigned = 0; // declared stale
    EXPECT_EQ(SignAt(engine, kT + 301), Fresh("secret", "SiteLookup", kT + 301, 0));
    EXPECT_TRUE(engine.SetSecretKey("")); // a new key, even an empty one, starts afresh
    EXPECT_EQ(SignAt(engine, kT + 302), Fresh("", "SiteLookup", kT + 302, 0));
    for (const std::int32_t nInterval : {0, -10}) {
        CKeyedEngine other("secret", "UrlInfo");
        other.m_nRefreshInterval = nInterval;
        EXPECT_EQ(SignAt(other, kT), kSecretAtT);
        other.m_strPrefix = "SiteLookup"; // the same second computes again
        EXPECT_EQ(SignAt(other, kT), Fresh("secret", "SiteLookup", kT));
        // Set back: 0 hands out the pair of kT; -10 computes at kT - 10, then hands that out.
        const std::string strBack = Fresh("secret", "SiteLookup", nInterval == 0 ? kT : kT - 10);
        EXPECT_EQ(SignAt(other, kT - 10), strBack);
        EXPECT_EQ(SignAt(other, kT - 21), strBack);
    }
}

// No pair is handed out before one was computed, whatever the caller set. A time without a
// timestamp signs nothing and leaves outputs and cache. The expiry test never overflows: a sum
// beyond the 64-bit range is far future (cached), one below far past (computed).
TEST(KestrowEngineTest, NoPairBeforeOneIsComputedNoTimestampNoOverflow) {
    CKestrowEngine engine;
    EXPECT_EQ(SignAt(engine, kT), "failed: untouched|untouched");
    engine.m_nRefreshInterval = INT32_MAX;
    engine.m_tLastSigned = INT64_MAX - 5;
    EXPECT_EQ(SignAt(engine, kT), "failed: untouched|untouched");
    EXPECT_TRUE(engine.SetSecretKey("secret"));
    engine.m_tLastSigned = INT64_MAX - 5;
    const std::string strAtT = Fresh("secret", "", kT);
    EXPECT_EQ(SignAt(engine, kT), strAtT);
    engine.m_tLastSigned = INT64_MAX - 5;
    EXPECT_EQ(SignAt(engine, INT64_MIN), strAtT);
    EXPECT_EQ(SignAt(engine, INT64_MAX), strAtT);
    engine.m_nRefreshInterval = INT32_MIN;
    engine.m_tLastSigned = INT64_MIN + 5;
    EXPECT_EQ(SignAt(engine, INT64_MIN), "failed: untouched|untouched");
    EXPECT_EQ(engine.m_tLastSigned, INT64_MIN + 5);
    engine.m_nRefreshInterval = 5;
    engine.m_tLastSigned = INT64_MAX;
    EXPECT_EQ(SignAt(engine, INT64_MAX), strAtT);
    engine.m_tLastSigned = INT64_MAX - 5; // expires at the last time value there is
    EXPECT_EQ(SignAt(engine, INT64_MAX), "failed: untouched|untouched");
}

TEST(KestrowEngineTest, SignUsesTheClock) {
    CKeyedEngine engine("secret", "UrlInfo");
    const std::int64_t tBefore = std::time(nullptr);
    CString strTimestamp;
    CString strSignature;
    ASSERT_TRUE(engine.Sign(strTimestamp, strSignature));
    EXPECT_TRUE(tBefore <= engine.m_tLastSigned && engine.m_tLastSigned <= std::time(nullptr));
    EXPECT_EQ(strTimestamp.str() + "|" + strSignature.str(),
              Fresh("secret", "UrlInfo", engine.m_tLastSigned));
}
