#include "engine/utc_timestamp.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

// Time values from python3 calendar.timegm((Y, M, D, h, m, s, 0, 0, 0)).
TEST(UtcTimestampTest, KnownTimesAndRangeLimits) {
    const struct {
        std::int64_t t;
        const char* psz;
    } cases[] = {{0, "1970-01-01T00:00:00.000Z"},
                 {1796509566, "2026-12-05T22:26:06.000Z"},
                 {951825600, "2000-02-29T12:00:00.000Z"},
                 {4107542399, "2100-02-28T23:59:59.000Z"},
                 {4107542400, "2100-03-01T00:00:00.000Z"},
                 {13574649599, "2400-02-29T23:59:59.000Z"},
                 {32535215999, "3000-12-31T23:59:59.000Z"},
                 {32535216000, ""},
                 {-1, ""},
                 {std::numeric_limits<std::int64_t>::min(), ""},
                 {std::numeric_limits<std::int64_t>::max(), ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatUtcTimestamp(c.t), c.psz) << c.t;
    }
}

// The C library's own breakdown as the oracle: _gmtime64_s under Windows, gmtime_r elsewhere.
TEST(UtcTimestampTest, SweepAgreesWithTheRunTime) {
    std::uint64_t nState = 1;
    for (int i = 0; i < 5000; ++i) {
        nState = nState * 6364136223846793005ull + 1442695040888963407ull;
        const std::int64_t t = static_cast<std::int64_t>((nState >> 11) % 32535216000ull);
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
