#include "tools/kestrow_sign/utc_time_parse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// The calendar itself is the engine's reader's, tested with it; here the seconds form, the
// fraction of zeros and what each refusal says. Expected values from Python:
// calendar.timegm((Y, M, D, h, m, s)).
TEST(UtcTimeParse, AcceptsBothFormsAtKnownTimes) {
    const struct {
        const char* pszText;
        std::int64_t t;
    } cases[] = {
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

TEST(UtcTimeParse, RejectsWithAReasonAndLeavesTheTime) {
    const struct {
        const char* pszText;
        const char* pszReason;
    } cases[] = {
        {"", "time is empty: expected"},
        {"1796509566s", "expected"},
        {"-0", "expected"},
        {"-", "expected"},
        {"2026-12-05T22:26:06", "expected"},
        {"2026-12-05T22:26:06.Z", "expected"},
        {"20266-12-05T22:26:06Z", "expected"},
        {"2026-12-05T22:26:06.500Z", "fractions of a second are not supported"},
        {"2026-12-05T22:26:06.0001Z", "fractions"},
        {"2026-02-29T00:00:00Z", "no valid date"},
        {"1969-12-31T23:59:59.0Z", "outside 1970-01-01T00:00:00Z .. 3000-12-31T23:59:59Z"},
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
