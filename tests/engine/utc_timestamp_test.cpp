#include "engine/utc_timestamp.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

// Known texts, at and beyond the range limits too, are in signature_vectors.inc. Here the C
// library's own breakdown is the oracle: _gmtime64_s under Windows, gmtime_r elsewhere.
TEST(UtcTimestampTest, AgreesWithTheRunTimeAcrossTheRange) {
    std::vector<std::int64_t> times = {g_tTimestampMin, g_tTimestampMax};
    for (std::uint64_t nState = 1; times.size() < 5000;) {
        nState = nState * 6364136223846793005ull + 1442695040888963407ull;
        times.push_back(static_cast<std::int64_t>((nState >> 11) % (g_tTimestampMax + 1)));
    }
    for (const std::int64_t t : times) {
        std::tm tmUtc{};
#ifdef _WIN32
        const __time64_t t64 = t;
        ASSERT_EQ(_gmtime64_s(&tmUtc, &t64), 0) << t;
#else
        const std::time_t tt = static_cast<std::time_t>(t);
        ASSERT_NE(gmtime_r(&tt, &tmUtc), nullptr) << t;
#endif
        char sz[64];
        std::strftime(sz, sizeof sz, "%Y-%m-%dT%H:%M:%S.000Z", &tmUtc);
        ASSERT_EQ(FormatUtcTimestamp(t), sz) << t;
    }
}
