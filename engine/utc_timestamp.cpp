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

bool IsLeapYear(std::int64_t nYear) {
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(std::int64_t nYear, int nMonth) {
    static const int s_nDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : s_nDays[nMonth - 1];
}

// The value of nCount decimal digits at pch, already checked to be digits.
int DigitsValue(const char* pch, int nCount) {
    int nValue = 0;
    for (int i = 0; i < nCount; ++i) {
        nValue = nValue * 10 + (pch[i] - '0');
    }
    return nValue;
}

// Seconds since 1970-01-01T00:00:00Z of a proleptic Gregorian date and checked time of day.
std::int64_t SecondsFromCivil(std::int64_t nYear, int nMonth, int nDay, int nSecondOfDay) {
    // Count years from 1 March so that the leap day is the last day of its year.
    const std::int64_t nYearFromMarch = nMonth <= 2 ? nYear - 1 : nYear;
    const int nMonthFromMarch = nMonth <= 2 ? nMonth + 9 : nMonth - 3;
    const std::int64_t nEra = (nYearFromMarch >= 0 ? nYearFromMarch : nYearFromMarch - 399) / 400;
    const std::int64_t nYearOfEra = nYearFromMarch - nEra * 400;
    const std::int64_t nDayOfYear = (153 * nMonthFromMarch + 2) / 5 + nDay - 1;
    const std::int64_t nDayOfEra =
        nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    const std::int64_t nDays = nEra * 146097 + nDayOfEra - 719468; // 0000-03-01 .. 1970-01-01
    return nDays * 86400 + nSecondOfDay;
}

} // namespace

CString FormatUtcTimestamp(std::int64_t t) {
    CString strResult;
    const int nLength = FormatUtcTimestampBuffer(t, strResult.GetBuffer(g_cchTimestamp));
    strResult.ReleaseBuffer(nLength);
    return strResult;
}

int FormatUtcTimestampBuffer(std::int64_t t, char* pszDest) {
    if (t < g_tTimestampMin || t > g_tTimestampMax) {
        *pszDest = '\0';
        return 0;
    }
    constexpr std::int64_t nSecondsPerDay = 86400;
    const SCivilDate date = CivilFromDays(t / nSecondsPerDay);
    const int nSecondOfDay = static_cast<int>(t % nSecondsPerDay);
    // The range keeps the year at four digits, so the text is always this long; written by
    // hand because the signature path spent a fifth of its time in snprintf.
    static constexpr char szPattern[] = "0000-00-00T00:00:00.000Z";
    static_assert(sizeof szPattern == g_cchTimestamp + 1, "the pattern is the text's shape");
    for (int i = 0; i <= g_cchTimestamp; ++i) {
        pszDest[i] = szPattern[i];
    }
    WriteDigits(pszDest, static_cast<int>(date.nYear), 4);
    WriteDigits(pszDest + 5, date.nMonth, 2);
    WriteDigits(pszDest + 8, date.nDay, 2);
    WriteDigits(pszDest + 11, nSecondOfDay / 3600, 2);
    WriteDigits(pszDest + 14, nSecondOfDay / 60 % 60, 2);
    WriteDigits(pszDest + 17, nSecondOfDay % 60, 2);
    return g_cchTimestamp;
}

EUtcParse ParseUtcTimestamp(const std::string& strText, std::int64_t& t) {
    // The same pattern as the formatter's; '0' stands for a digit.
    static constexpr char szPattern[] = "0000-00-00T00:00:00.000Z";
    constexpr std::size_t nShort = 20; // without ".000"
    const std::size_t nLength = strText.size();
    if (nLength != nShort && nLength != sizeof szPattern - 1) {
        return UTC_PARSE_BAD_FORM;
    }
    for (std::size_t i = 0; i < nLength - 1; ++i) {
        const char ch = strText[i];
        // The fraction, when there is one, is exactly ".000".
        const bool bDigitWanted = szPattern[i] == '0' && i < 19;
        if (bDigitWanted ? ch < '0' || ch > '9' : ch != szPattern[i]) {
            return UTC_PARSE_BAD_FORM;
        }
    }
    if (strText[nLength - 1] != 'Z') {
        return UTC_PARSE_BAD_FORM;
    }
    const char* pch = strText.data();
    const int nYear = DigitsValue(pch, 4);
    const int nMonth = DigitsValue(pch + 5, 2);
    const int nDay = DigitsValue(pch + 8, 2);
    const int nHour = DigitsValue(pch + 11, 2);
    const int nMinute = DigitsValue(pch + 14, 2);
    const int nSecond = DigitsValue(pch + 17, 2);
    if (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > DaysInMonth(nYear, nMonth) || nHour > 23 ||
        nMinute > 59 || nSecond > 59) {
        return UTC_PARSE_NO_SUCH_TIME;
    }
    const std::int64_t tValue =
        SecondsFromCivil(nYear, nMonth, nDay, nHour * 3600 + nMinute * 60 + nSecond);
    if (tValue < g_tTimestampMin || tValue > g_tTimestampMax) {
        return UTC_PARSE_OUT_OF_RANGE;
    }
    t = tValue;
    return UTC_PARSE_OK;
}
