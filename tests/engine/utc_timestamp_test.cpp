#include "engine/utc_timestamp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

// Known texts, at and beyond the range limits too, are in signature_vectors.inc. Here the C
// library's own breakdown is the oracle: _gmtime64_s under Windows, gmtime_r elsewhere. The
// reader walks the calendar the other way and must take back both forms everywhere.
TEST(UtcTimestampTest, AgreesWithTheRunTimeAndReadsBackAcrossTheRange) {
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
        std::int64_t tLong = -1;
        std::int64_t tShort = -1;
        ASSERT_EQ(ParseUtcTimestamp(sz, tLong), UTC_PARSE_OK) << sz;
        ASSERT_EQ(ParseUtcTimestamp(std::string(sz, 19) + "Z", tShort), UTC_PARSE_OK) << sz;
        ASSERT_EQ(tLong, t);
        ASSERT_EQ(tShort, t);
    }
}

// The days 28 to 32 of every month, in common and leap years: the formatter, checked against
// the run-time above, tells which lie in the month.
TEST(UtcTimestampTest, ReadsNoDayPastTheEndOfItsMonth) {
    for (const int nYear : {2024, 2026, 2000, 2100}) {
        for (int nMonth = 1; nMonth <= 12; ++nMonth) {
            char sz[64];
            std::snprintf(sz, sizeof sz, "%d-%02d-01T00:00:00Z", nYear, nMonth);
            std::int64_t tFirst = -1;
            ASSERT_EQ(ParseUtcTimestamp(sz, tFirst), UTC_PARSE_OK) << sz;
            for (int nDay = 28; nDay <= 32; ++nDay) {
                const CString strDay = FormatUtcTimestamp(tFirst + (nDay - 1) * 86400);
                std::snprintf(sz, sizeof sz, "%d-%02d-%02dT00:00:00Z", nYear, nMonth, nDay);
                const bool bInMonth = strDay.str().compare(0, 10, sz, 10) == 0;
                std::int64_t t = -1;
                EXPECT_EQ(ParseUtcTimestamp(sz, t),
                          bInMonth ? UTC_PARSE_OK : UTC_PARSE_NO_SUCH_TIME)
                    << sz;
            }
        }
    }
}

TEST(UtcTimestampTest, RefusesEachOtherFaultAndLeavesTheTime) {
    const struct {
        std::string strText;
        EUtcParse nResult;
    } cases[] = {
        {"", UTC_PARSE_BAD_FORM},
        {"2026-12-05T22:26:06.0Z", UTC_PARSE_BAD_FORM},
        {"2026-12-05T22:26:06.001Z", UTC_PARSE_BAD_FORM},
        {"2026-12-05T22:26:06.000z", UTC_PARSE_BAD_FORM},
        {"2026-12-05 22:26:06.000Z", UTC_PARSE_BAD_FORM},
        {"2026-12-05T22:2/:06Z", UTC_PARSE_BAD_FORM},
        {"2026-12-05T22:2::06Z", UTC_PARSE_BAD_FORM},
        {"2026-13-10T00:00:00Z", UTC_PARSE_NO_SUCH_TIME},
        {"2026-01-00T00:00:00Z", UTC_PARSE_NO_SUCH_TIME},
        {"2026-12-05T24:00:00Z", UTC_PARSE_NO_SUCH_TIME},
        {"2026-12-05T23:60:00Z", UTC_PARSE_NO_SUCH_TIME},
        {"2016-12-31T23:59:60Z", UTC_PARSE_NO_SUCH_TIME},
        {"1969-12-31T23:59:59Z", UTC_PARSE_OUT_OF_RANGE},
        {"3001-01-01T00:00:00Z", UTC_PARSE_OUT_OF_RANGE},
    };
    for (const auto& c : cases) {
        std::int64_t t = 42;
        EXPECT_EQ(ParseUtcTimestamp(c.strText, t), c.nResult) << c.strText;
        EXPECT_EQ(t, 42) << c.strText;
    }
}
