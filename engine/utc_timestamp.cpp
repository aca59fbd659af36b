#include "engine/utc_timestamp.h"

#include <cstdio>

namespace {

struct SCivilDate {
    std::int64_t nYear;
    int nMonth; // 1..12
    int nDay;   // 1..31
};

// Days since 1970-01-01 to the proleptic Gregorian date, in whole 400-year eras shifted to
// start on 1 March so that the leap day falls at the end of each year. Done by hand
// because gmtime differs between the C libraries; this gives one answer everywhere.
SCivilDate CivilFromDays(std::int64_t nDays) {
    constexpr std::int64_t nDaysPerEra = 146097;
    nDays += 719468;                               // 0000-03-01 to 1970-01-01
    const std::int64_t nEra = nDays / nDaysPerEra; // never negative: callers pass t >= 0
    const std::int64_t nDayOfEra = nDays - nEra * nDaysPerEra;
    const std::int64_t nYearOfEra =
        (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const std::int64_t nDayOfYear =
        nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const std::int64_t nMonthFromMarch = (5 * nDayOfYear + 2) / 153;
    SCivilDate date;
    date.nDay = static_cast<int>(nDayOfYear - (153 * nMonthFromMarch + 2) / 5 + 1);
    date.nMonth =
        static_cast<int>(nMonthFromMarch < 10 ? nMonthFromMarch + 3 : nMonthFromMarch - 9);
    date.nYear = nYearOfEra + nEra * 400 + (date.nMonth <= 2 ? 1 : 0);
    return date;
}

} // namespace

CString FormatUtcTimestamp(std::int64_t t) {
    if (t < g_tTimestampMin || t > g_tTimestampMax) {
        return CString();
    }
    constexpr std::int64_t nSecondsPerDay = 86400;
    const SCivilDate date = CivilFromDays(t / nSecondsPerDay);
    const int nSecondOfDay = static_cast<int>(t % nSecondsPerDay);
    char szBuffer[32];
    const int nWritten =
        std::snprintf(szBuffer, sizeof szBuffer, "%04d-%02d-%02dT%02d:%02d:%02d.000Z",
                      static_cast<int>(date.nYear), date.nMonth, date.nDay, nSecondOfDay / 3600,
                      nSecondOfDay / 60 % 60, nSecondOfDay % 60);
    if (nWritten <= 0 || static_cast<std::size_t>(nWritten) >= sizeof szBuffer) {
        return CString();
    }
    return CString(szBuffer, nWritten);
}
