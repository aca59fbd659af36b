#include "tools/kestrow_sign/utc_time_parse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/utc_timestamp.h"

namespace {

// Expected values from Python: calendar.timegm((Y, M, D, h, m, s)).
TEST(UtcTimeParse, AcceptsBothFormsAtKnownTimes) {
    const struct {
        const char* pszText;
        std::int64_t t;
    } cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"2000-02-29T12:34:56Z", 951827696},
        {"2100-02-28T23:59:59Z", 4107542399},
        {"2100-03-01T00:00:00Z", 4107542400},
        {"2400-02-29T00:00:00Z", 13574563200},
        {"3000-12-31T23:59:59Z", 32535215999},
        {"2026-12-05T22:26:06.0Z", 1796509566},
        {"2026-12-05T22:26:06.000000000Z", 1796509566},
        {"0", 0},
        {"0001796509566", 1796509566},
        {"32535215999", 32535215999},
    };
    for (const auto& c : cases) {
        std::int64_t t = -1;
        std::string strError;
        EXPECT_TRUE(ParseUtcTime(c.pszText, t, strError)) << c.pszText << ": " << strError;
        EXPECT_EQ(t, c.t) << c.pszText;
    }
}

// The engine's formatter walks the calendar the other way; both must agree everywhere.
TEST(UtcTimeParse, ReadsBackEngineTimestampsAcrossTheRange) {
    std::uint64_t nState = 12345;
    for (int i = 0; i < 20000; ++i) {
        nState = nState * 6364136223846793005ull + 1442695040888963407ull;
        const auto t = static_cast<std::int64_t>((nState >> 11) % (g_tTimestampMax + 1));
        std::int64_t tIso = -1;
        std::int64_t tSeconds = -1;
        std::string strError;
        ASSERT_TRUE(ParseUtcTime(FormatUtcTimestamp(t).str(), tIso, strError)) << t;
        ASSERT_TRUE(ParseUtcTime(std::to_string(t), tSeconds, strError)) << t;
        ASSERT_EQ(tIso, t);
        ASSERT_EQ(tSeconds, t);
    }
}

TEST(UtcTimeParse, RejectsWithAReasonAndLeavesTheTime) {
    const struct {
        const char* pszText;
        const char* pszReason;
    } cases[] = {
        {"", "empty"},
        {" 1796509566", "expected"},
        {"+1796509566", "expected"},
        {"1796509566s", "expected"},
        {"0x10", "expected"},
        {"-0", "expected"},
        {"2026-12-05", "expected"},
        {"2026-12-05T22:26:06", "expected"},
        {"2026-12-05 22:26:06Z", "expected"},
        {"2026-12-05t22:26:06Z", "expected"},
        {"2026-12-05T22:26:06+00:00", "expected"},
        {"2026-12-05T22:26:06.Z", "expected"},
        {"2026-12-05T22:26:06ZZ", "expected"},
        {"2026-12-5T22:26:06Z", "expected"},
        {"20266-12-05T22:26:06Z", "expected"},
        {"2026-12-05T22:2a:06Z", "expected"},
        {"2026-12-05T22:26:06.500Z", "fraction"},
        {"2026-12-05T22:26:06.0001Z", "fraction"},
        {"2026-13-10T00:00:00Z", "no valid date"},
        {"2026-04-31T00:00:00Z", "no valid date"},
        {"2026-01-00T00:00:00Z", "no valid date"},
        {"2100-02-29T00:00:00Z", "no valid date"},
        {"2026-12-05T24:00:00Z", "no valid date"},
        {"2016-12-31T23:59:60Z", "no valid date"},
        {"1969-12-31T23:59:59Z", "outside"},
        {"3001-01-01T00:00:00Z", "outside"},
        {"32535216000", "outside"},
        {"-1", "outside"},
        {"99999999999999999999999999999999999999", "outside"},
    };
    for (const auto& c : cases) {
        std::int64_t t = 42;
        std::string strError;
        EXPECT_FALSE(ParseUtcTime(c.pszText, t, strError)) << '"' << c.pszText << '"';
        EXPECT_EQ(t, 42) << c.pszText;
        EXPECT_NE(strError.find(c.pszReason), std::string::npos) << c.pszText << ": " << strError;
    }
}

} // namespace
