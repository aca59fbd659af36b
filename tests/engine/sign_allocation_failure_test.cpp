// Sign with an allocation failing at each point where it allocates, in turn: the failure passes
// on, and the outputs and the cached pair stay as they were.

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "engine/kestrow_engine.h"
#include "tests/support/replacement_allocator.h"

namespace {

constexpr std::int64_t kT = 1796509566;

struct CTestEngine : CKestrowEngine {
    CTestEngine() {
        m_strPrefix = "UrlInfo";
        SetSecretKey("secret");
    }
};

// The outputs of a Sign at t with allocation nFail failing, as "timestamp|signature" with
// "thrown " or "false " in front when it did not succeed; both outputs hold "old" before.
std::string SignAt(CKestrowEngine& engine, std::int64_t t, int nFail = -1) {
    CString strTimestamp("old");
    CString strSignature("old");
    const char* pszHow = "false ";
    FailAllocationAfter(nFail);
    try {
        pszHow = engine.SignAt(t, strTimestamp, strSignature) ? "" : pszHow;
    } catch (const std::bad_alloc&) {
        pszHow = "thrown ";
    }
    FailAllocationAfter(-1);
    return pszHow + strTimestamp.str() + "|" + strSignature.str();
}

// Signs at tNow with the n-th allocation failing, for n = 0, 1, ... until it succeeds. After each
// failure the outputs are untouched and a Sign at tCheck answers strBefore; after the success
// the outputs hold strAfter and so does the cache.
void ExpectNothingLostOnFailure(CKestrowEngine& engine, std::int64_t tNow, std::int64_t tCheck,
                                const std::string& strBefore, const std::string& strAfter) {
    for (int n = 0; n < 100; ++n) {
        const std::string str = SignAt(engine, tNow, n);
        if (str.rfind("thrown ", 0) != 0) {
            EXPECT_EQ(str, strAfter) << "success after " << n << " allocations";
            EXPECT_EQ(SignAt(engine, tCheck), strAfter);
            return;
        }
        EXPECT_EQ(str, "thrown old|old") << "failure at allocation " << n;
        EXPECT_EQ(SignAt(engine, tCheck), strBefore) << "failure at allocation " << n;
    }
    ADD_FAILURE() << "no success after 100 allocations";
}

} // namespace

TEST(SignAllocationFailure, ComputingOrCachedSignKeepsTheOldPairWhole) {
    // A time before 1970 has the empty timestamp, so the cache needs more room for the new one;
    // cached until 200, so a Sign at 199 shows the cache.
    CTestEngine fresh, engine;
    const std::string strOld = SignAt(engine, -100);
    ASSERT_EQ(strOld.find('|'), 0u);
    ExpectNothingLostOnFailure(engine, 200, 199, strOld, SignAt(fresh, 200));
    // From the cache, both outputs are written or neither.
    const std::string strPair = SignAt(fresh, kT);
    ExpectNothingLostOnFailure(fresh, kT + 1, kT + 2, strPair, strPair);
}
