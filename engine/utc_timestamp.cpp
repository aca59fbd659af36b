#include "engine/utc_timestamp.h"

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

// Writes nValue as exactly nWidth decimal digits, zero-filled; nValue fits the width.
void WriteDigits(char* pch, int nValue, int nWidth) {
    for (int i = nWidth - 1; i >= 0; --i) {
        pch[i] = static_cast<char>('0' + nValue % 10);
        nValue /= 10;
    }
}

} // namespace

CString FormatUtcTimestamp(std::int64_t t) {
    if (t < g_tTimestampMin || t > g_tTimestampMax) {
        return CString();
    }
    constexpr std::int64_t nSecondsPerDay = 86400;
    const SCivilDate date = CivilFromDays(t / nSecondsPerDay);
    const int nSecondOfDay = static_cast<int>(t % nSecondsPerDay);
    // The range keeps the year at four digits, so the text is always this long; written by
    // hand because the signature path spent a fifth of its time in snprintf.
    static constexpr char szPattern[] = "0000-00-00T00:00:00.000Z";
    constexpr int nLength = static_cast<int>(sizeof szPattern) - 1;
    CString strResult;
    char* const pch = strResult.GetBuffer(nLength);
    for (int i = 0; i < nLength; ++i) {
        pch[i] = szPattern[i];
    }
    WriteDigits(pch, static_cast<int>(date.nYear), 4);
    WriteDigits(pch + 5, date.nMonth, 2);
    WriteDigits(pch + 8, date.nDay, 2);
    WriteDigits(pch + 11, nSecondOfDay / 3600, 2);
    WriteDigits(pch + 14, nSecondOfDay / 60 % 60, 2);
    WriteDigits(pch + 17, nSecondOfDay % 60, 2);
    strResult.ReleaseBuffer(nLength);
    return strResult;
}
