#include "engine/kestrow_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <string>

// Known answers from python3: urllib.parse.quote(base64.b64encode(hmac.new(key,
// (prefix + timestamp).encode(), hashlib.sha1).digest()).decode(), safe=''), quote left off
// for the unencoded rows; time values from calendar.timegm.

namespace {

constexpr std::int64_t kT = 1796509566; // 2026-12-05T22:26:06Z
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// "ts|signature", or "untouched" when the outputs were left alone.
std::string SignAt(CKestrowEngine& engine, std::int64_t t) {
    CString strTimestamp("untouched");
    CString strSignature;
    const bool bResult = engine.SignAt(t, strTimestamp, strSignature);
    EXPECT_EQ(bResult, strTimestamp != "untouched");
    return bResult ? strTimestamp.str() + "|" + strSignature.str() : "untouched";
}

std::string Fresh(const char* pszKey, const char* pszPrefix, std::int64_t t, int bUrlEncode = 1) {
    CKestrowEngine engine;
    engine.m_strPrefix = pszPrefix;
    engine.m_bUrlEncode = bUrlEncode;
    EXPECT_TRUE(engine.SetSecretKey(pszKey));
    return SignAt(engine, t);
}

struct CKeyedEngine : CKestrowEngine {
    explicit CKeyedEngine(std::int32_t nInterval) {
        m_nRefreshInterval = nInterval;
        m_strPrefix = "UrlInfo";
        EXPECT_TRUE(SetSecretKey("secret"));
    }
};

const char* const kSecretAtT = "2026-12-05T22:26:06.000Z|Iq04hkMFVsCYligS9HfpoKVT2Vs%3D";

} // namespace

TEST(KestrowEngineTest, KnownSignatures) {
    const char* pszAws = "wJalrXUtnFEMI/K7MDENG/bPxRfiCYEXAMPLEKEY";
    const char* pszTs = "2026-12-05T22:26:06.000Z|";
    EXPECT_EQ(Fresh("secret", "UrlInfo", kT), kSecretAtT);
    EXPECT_EQ(Fresh("secret", "UrlInfo", kT, 0),
              pszTs + std::string("Iq04hkMFVsCYligS9HfpoKVT2Vs="));
    EXPECT_EQ(Fresh("secret", "UrlInfo", kT + 1),
              "2026-12-05T22:26:07.000Z|4WmH60DeAbO6%2B7UbAlM14oiuktY%3D");
    EXPECT_EQ(Fresh("", "UrlInfo", kT), pszTs + std::string("4zKDW4Ye6GRmSiRJ6QlA5wFMZTs%3D"));
    EXPECT_EQ(Fresh("secret", "", kT), pszTs + std::string("Z7meSjmudPnOkspZyop%2BS3C%2BBhY%3D"));
    EXPECT_EQ(Fresh("key5", "UrlInfo", kT),
              pszTs + std::string("6%2F2JOywTHowk%2B5ztsmN0iT0bfKI%3D"));
    EXPECT_EQ(Fresh("key5", "UrlInfo", kT, 0), pszTs + std::string("6/2JOywTHowk+5ztsmN0iT0bfKI="));
    EXPECT_EQ(Fresh(pszAws, "UrlInfo", 0),
              "1970-01-01T00:00:00.000Z|6Y27NEdTglH3Bd14ZWq3lj74lyo%3D");
    EXPECT_EQ(Fresh(pszAws, "UrlInfo", 32535215999),
              "3000-12-31T23:59:59.000Z|I0YeXy8tV9aelR6m27cWWifzfe8%3D");
    // No timestamp outside the range: the prefix alone is signed.
    for (const std::int64_t t : {std::int64_t{-1}, std::int64_t{32535216000}, kMin, kMax}) {
        EXPECT_EQ(Fresh("secret", "UrlInfo", t), "|WvibxLD2APs7BER8uorkUQBR2mk%3D");
    }
}

TEST(KestrowEngineTest, DefaultsAndNoKey) {
    CKestrowEngine engine;
    EXPECT_EQ(engine.m_bUrlEncode, 1);
    EXPECT_EQ(engine.m_nRefreshInterval, 300);
    EXPECT_EQ(engine.m_tLastSigned, 0);
    EXPECT_EQ(SignAt(engine, kT), "untouched");
    EXPECT_FALSE(engine.SetSecretKey(nullptr));
    EXPECT_EQ(SignAt(engine, kT), "untouched");
}

TEST(KestrowEngineTest, CacheWithinTheInterval) {
    CKeyedEngine engine(300);
    EXPECT_EQ(SignAt(engine, kT), kSecretAtT);
    engine.m_strPrefix = "ItemLookup"; // neither counts inside the interval
    engine.m_bUrlEncode = 0;
    EXPECT_EQ(SignAt(engine, kT + 299), kSecretAtT);
    EXPECT_EQ(SignAt(engine, kT - 100000), kSecretAtT); // clock set back
    EXPECT_EQ(SignAt(engine, kT + 300), Fresh("secret", "ItemLookup", kT + 300, 0));
    engine.m_tLastSigned = 0; // declared stale
    EXPECT_EQ(SignAt(engine, kT + 301), Fresh("secret", "ItemLookup", kT + 301, 0));
    for (const std::int32_t nInterval : {0, -10}) {
        CKeyedEngine other(nInterval);
        EXPECT_EQ(SignAt(other, kT), kSecretAtT);
        other.m_strPrefix = "ItemLookup"; // the same second computes again
        EXPECT_EQ(SignAt(other, kT), Fresh("secret", "ItemLookup", kT));
        // Set back: 0 hands out the pair of kT; -10 computes at kT - 10, then hands that out.
        const std::string strBack = Fresh("secret", "ItemLookup", nInterval == 0 ? kT : kT - 10);
        EXPECT_EQ(SignAt(other, kT - 10), strBack);
        EXPECT_EQ(SignAt(other, kT - 21), strBack);
    }
}

TEST(KestrowEngineTest, ReKeying) {
    CKeyedEngine engine(300);
    EXPECT_EQ(SignAt(engine, kT), kSecretAtT);
    EXPECT_FALSE(engine.SetSecretKey("secret")); // same key: cache kept
    EXPECT_EQ(engine.m_tLastSigned, kT);
    EXPECT_EQ(SignAt(engine, kT + 10), kSecretAtT);
    EXPECT_TRUE(engine.SetSecretKey("other"));
    EXPECT_EQ(engine.m_tLastSigned, 0);
    EXPECT_EQ(SignAt(engine, kT + 10), Fresh("other", "UrlInfo", kT + 10));
    EXPECT_TRUE(engine.SetSecretKey("")); // empty after non-empty is a new key
    EXPECT_EQ(SignAt(engine, kT + 20), Fresh("", "UrlInfo", kT + 20));
}

// A caller's m_tLastSigned or a huge interval must never hand out texts never computed.
TEST(KestrowEngineTest, NeverSucceedsWithoutAComputedPair) {
    CKestrowEngine engine;
    engine.m_nRefreshInterval = std::numeric_limits<std::int32_t>::max();
    engine.m_tLastSigned = kT - 5;
    EXPECT_EQ(SignAt(engine, kT), "untouched");
    EXPECT_TRUE(engine.SetSecretKey("secret"));
    engine.m_tLastSigned = kT - 5;
    EXPECT_EQ(SignAt(engine, kT), Fresh("secret", "", kT));
    EXPECT_EQ(SignAt(engine, kT + 1000), Fresh("secret", "", kT)); // now it is cached
}

// Sums beyond the 64-bit range: far future is a hit, far past a new computation. The prefix
// changes after each signing, so a computation shows even where the timestamp is empty.
TEST(KestrowEngineTest, CacheTestNeverOverflows) {
    CKeyedEngine engine(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(SignAt(engine, kT), kSecretAtT);
    engine.m_strPrefix = "X";
    engine.m_tLastSigned = kMax - 5;
    EXPECT_EQ(SignAt(engine, kMin), kSecretAtT);
    EXPECT_EQ(SignAt(engine, kMax), kSecretAtT);
    engine.m_nRefreshInterval = std::numeric_limits<std::int32_t>::min();
    engine.m_tLastSigned = kMin + 5;
    EXPECT_EQ(SignAt(engine, kMin), Fresh("secret", "X", kMin));
    engine.m_strPrefix = "Y";
    engine.m_nRefreshInterval = 5;
    EXPECT_EQ(SignAt(engine, kMin + 4), Fresh("secret", "X", kMin));
    EXPECT_EQ(SignAt(engine, kMax), Fresh("secret", "Y", kMax));
    engine.m_strPrefix = "Z";
    EXPECT_EQ(SignAt(engine, kMax), Fresh("secret", "Y", kMax));
    engine.m_nRefreshInterval = -1;
    EXPECT_EQ(SignAt(engine, kMax - 2), Fresh("secret", "Y", kMax));
    EXPECT_EQ(SignAt(engine, kMax - 1), Fresh("secret", "Z", kMax));
}

TEST(KestrowEngineTest, SignUsesTheClock) {
    CKeyedEngine engine(0);
    const auto Now = [] {
        return std::chrono::floor<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
    const std::int64_t tBefore = Now();
    CString strTimestamp;
    CString strSignature;
    ASSERT_TRUE(engine.Sign(strTimestamp, strSignature));
    EXPECT_GE(engine.m_tLastSigned, tBefore);
    EXPECT_LE(engine.m_tLastSigned, Now());
    EXPECT_EQ(strTimestamp.str() + "|" + strSignature.str(),
              Fresh("secret", "UrlInfo", engine.m_tLastSigned));
}
