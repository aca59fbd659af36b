#include "tools/kestrow_sign/utc_time_parse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/utc_timestamp.h"

namespace {

// Expected values from Python: calendar.timegm((Y, M, D, h, m, s)).
struct STimeCase {
    const char* pszText;
    std::int64_t t;
};

const STimeCase g_acceptedTimes[] = {
    {"1970-01-01T00:00:00Z", 0},
    {"1970-01-01T00:00:01Z", 1},
    {"1972-12-31T23:59:59Z", 94694399},
    {"1999-12-31T23:59:59Z", 946684799},
    {"2000-02-29T12:34:56Z", 951827696},
    {"2026-12-05T22:26:06Z", 1796509566},
    {"2038-01-19T03:14:08Z", 2147483648},
    {"2100-02-28T23:59:59Z", 4107542399},
    {"2100-03-01T00:00:00Z", 4107542400},
    {"2400-02-29T00:00:00Z", 13574563200},
    {"3000-12-31T23:59:59Z", 32535215999},
    // The engine's own timestamps and other all-zero fractions.
    {"2026-12-05T22:26:06.000Z", 1796509566},
    {"2026-12-05T22:26:06.0Z", 1796509566},
    {"2026-12-05T22:26:06.000000000Z", 1796509566},
    // Seconds since 1970.
    {"0", 0},
    {"1796509566", 1796509566},
    {"0001796509566", 1796509566},
    {"32535215999", 32535215999},
};

TEST(UtcTimeParse, AcceptsBothFormsAtKnownTimes) {
    for (const STimeCase& c : g_acceptedTimes) {
        std::int64_t t = -1;
        std::string strError;
        EXPECT_TRUE(ParseUtcTime(c.pszText, t, strError)) << c.pszText << ": " << strError;
        EXPECT_EQ(t, c.t) << c.pszText;
    }
}

// The engine's formatter walks the calendar the other way; both must agree everywhere.
TEST(UtcTimeParse, ReadsBackEveryEngineTimestampAcrossTheRange) {
    std::uint64_t nState = 12345;
    for (int i = 0; i < 20000; ++i) {
        nState = nState * 6364136223846793005ull + 1442695040888963407ull;
        const auto t = static_cast<std::int64_t>((nState >> 11) %
                                                 static_cast<std::uint64_t>(g_tTimestampMax + 1));
        const std::string strTimestamp = FormatUtcTimestamp(t).str();
        std::int64_t tIso = -1;
        std::int64_t tSeconds = -1;
        std::string strError;
        ASSERT_TRUE(ParseUtcTime(strTimestamp, tIso, strError)) << strTimestamp << strError;
        ASSERT_TRUE(ParseUtcTime(std::to_string(t), tSeconds, strError)) << t;
        ASSERT_EQ(tIso, t) << strTimestamp;
        ASSERT_EQ(tSeconds, t);
    }
}

// Day by day from 1970 to 3000 with a plain month table: every midnight is 86400 s on.
TEST(UtcTimeParse, CivilDaysAdvanceByOneDayThroughTheWholeRange) {
    const auto IsLeap = [](int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
    std::int64_t tExpected = 0;
    for (int nYear = 1970; nYear <= 3000; ++nYear) {
        const int nMonthDays[12] = {31, IsLeap(nYear) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30,
                                    31};
        for (int nMonth = 1; nMonth <= 12; ++nMonth) {
            for (int nDay = 1; nDay <= nMonthDays[nMonth - 1]; ++nDay) {
                ASSERT_EQ(SecondsFromCivil(nYear, nMonth, nDay, 0), tExpected)
                    << nYear << "-" << nMonth << "-" << nDay;
                tExpected += 86400;
            }
        }
    }
    EXPECT_EQ(tExpected - 1, g_tTimestampMax);
}

TEST(UtcTimeParse, RejectsTextsOfNeitherForm) {
    const char* const apszBad[] = {
        "",
        " 1796509566",
        "1796509566 ",
        "+1796509566",
        "1796509566s",
        "1.5",
        "0x10",
        "-",
        "-0",
        "now",
        "2026-12-05",
        "2026-12-05T22:26:06",
        "2026-12-05T22:26Z",
        "2026-12-05 22:26:06Z",
        "2026-12-05t22:26:06Z",
        "2026-12-05T22:26:06z",
        "2026-12-05T22:26:06+00:00",
        "2026-12-05T22:26:06ZZ",
        "2026-12-05T22:26:06.Z",
        "2026-12-05T22:26:06.000",
        "2026-12-5T22:26:06Z",
        "26-12-05T22:26:06Z",
        "20266-12-05T22:26:06Z",
        "2026/12/05T22:26:06Z",
        "2026-12-05T22:2a:06Z",
        "2026-12-05T22:26:06Z\n",
        // Valid dates and times of day only.
        "2026-00-10T00:00:00Z",
        "2026-13-10T00:00:00Z",
        "2026-04-31T00:00:00Z",
        "2026-01-00T00:00:00Z",
        "2023-02-29T00:00:00Z",
        "2100-02-29T00:00:00Z",
        "2026-12-05T24:00:00Z",
        "2026-12-05T23:60:00Z",
        "2016-12-31T23:59:60Z",
    };
    for (const char* pszBad : apszBad) {
        std::int64_t t = 42;
        std::string strError;
        EXPECT_FALSE(ParseUtcTime(pszBad, t, strError)) << '"' << pszBad << '"';
        EXPECT_EQ(t, 42) << pszBad;
        EXPECT_FALSE(strError.empty()) << pszBad;
    }
}

TEST(UtcTimeParse, RejectsTimesOutsideTheRangeAndSaysSo) {
    const char* const apszOutside[] = {
        "1969-12-31T23:59:59Z", "0000-01-01T00:00:00Z",
        "3001-01-01T00:00:00Z", "9999-12-31T23:59:59Z",
        "32535216000",          "-1",
        "-32535215999",         "99999999999999999999999999999999999999",
    };
    for (const char* pszOutside : apszOutside) {
        std::int64_t t = 42;
        std::string strError;
        EXPECT_FALSE(ParseUtcTime(pszOutside, t, strError)) << pszOutside;
        EXPECT_EQ(t, 42) << pszOutside;
        EXPECT_NE(strError.find("outside"), std::string::npos) << pszOutside << ": " << strError;
    }
}

TEST(UtcTimeParse, NamesANonZeroFractionInsteadOfDroppingIt) {
    std::int64_t t = 42;
    std::string strError;
    EXPECT_FALSE(ParseUtcTime("2026-12-05T22:26:06.500Z", t, strError));
    EXPECT_FALSE(ParseUtcTime("2026-12-05T22:26:06.0001Z", t, strError));
    EXPECT_EQ(t, 42);
    EXPECT_NE(strError.find("fraction"), std::string::npos) << strError;
}

} // namespace
