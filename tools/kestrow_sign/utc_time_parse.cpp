#include "tools/kestrow_sign/utc_time_parse.h"

#include "engine/utc_timestamp.h"

namespace {

const char g_szTimeForms[] =
    "expected YYYY-MM-DDTHH:MM:SSZ (UTC) or a number of seconds since 1970";

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

bool IsLeapYear(std::int64_t nYear) {
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(std::int64_t nYear, int nMonth) {
    static const int s_nDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : s_nDays[nMonth - 1];
}

// nCount digits at strText[nPos]; false when any of them is not a digit.
bool ReadDigits(const std::string& strText, std::size_t nPos, std::size_t nCount, int& nValue) {
    if (nPos + nCount > strText.size()) {
        return false;
    }
    nValue = 0;
    for (std::size_t i = nPos; i < nPos + nCount; ++i) {
        if (!IsDigit(strText[i])) {
            return false;
        }
        nValue = nValue * 10 + (strText[i] - '0');
    }
    return true;
}

std::string RangeMessage(const std::string& strText) {
    return "time '" + strText + "' lies outside 1970-01-01T00:00:00Z .. 3000-12-31T23:59:59Z";
}

bool ParseSeconds(const std::string& strText, std::int64_t& t, std::string& strError) {
    const bool bNegative = strText[0] == '-';
    const std::size_t nFirst = bNegative ? 1 : 0;
    if (nFirst == strText.size()) {
        strError = "time '" + strText + "': " + g_szTimeForms;
        return false;
    }
    std::int64_t nValue = 0;
    for (std::size_t i = nFirst; i < strText.size(); ++i) {
        if (!IsDigit(strText[i])) {
            strError = "time '" + strText + "': " + g_szTimeForms;
            return false;
        }
        // Past the maximum already: keep checking the digits, never overflow.
        if (nValue <= g_tTimestampMax) {
            nValue = nValue * 10 + (strText[i] - '0');
        }
    }
    if (bNegative || nValue > g_tTimestampMax) {
        // "-0" is zero, but a sign is no part of the accepted forms.
        strError = bNegative && nValue == 0 ? "time '" + strText + "': " + g_szTimeForms
                                            : RangeMessage(strText);
        return false;
    }
    t = nValue;
    return true;
}

bool ParseIso(const std::string& strText, std::int64_t& t, std::string& strError) {
    const std::string strBad = "time '" + strText + "': " + g_szTimeForms;
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    if (strText.size() < 20 || !ReadDigits(strText, 0, 4, nYear) || strText[4] != '-' ||
        !ReadDigits(strText, 5, 2, nMonth) || strText[7] != '-' ||
        !ReadDigits(strText, 8, 2, nDay) || strText[10] != 'T' ||
        !ReadDigits(strText, 11, 2, nHour) || strText[13] != ':' ||
        !ReadDigits(strText, 14, 2, nMinute) || strText[16] != ':' ||
        !ReadDigits(strText, 17, 2, nSecond)) {
        strError = strBad;
        return false;
    }
    std::size_t nPos = 19;
    if (strText[nPos] == '.') {
        // Whole seconds only: a fraction other than zeros would be dropped silently.
        ++nPos;
        const std::size_t nFractionStart = nPos;
        bool bNonZero = false;
        while (nPos < strText.size() && IsDigit(strText[nPos])) {
            bNonZero = bNonZero || strText[nPos] != '0';
            ++nPos;
        }
        if (nPos == nFractionStart) {
            strError = strBad;
            return false;
        }
        if (bNonZero) {
            strError = "time '" + strText + "': fractions of a second are not supported";
            return false;
        }
    }
    if (nPos + 1 != strText.size() || strText[nPos] != 'Z') {
        strError = strBad;
        return false;
    }
    if (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > DaysInMonth(nYear, nMonth) || nHour > 23 ||
        nMinute > 59 || nSecond > 59) {
        strError = "time '" + strText + "' is no valid date and time of day";
        return false;
    }
    const std::int64_t tValue =
        SecondsFromCivil(nYear, nMonth, nDay, nHour * 3600 + nMinute * 60 + nSecond);
    if (tValue < g_tTimestampMin || tValue > g_tTimestampMax) {
        strError = RangeMessage(strText);
        return false;
    }
    t = tValue;
    return true;
}

} // namespace

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

bool ParseUtcTime(const std::string& strText, std::int64_t& t, std::string& strError) {
    if (strText.empty()) {
        strError = std::string("time is empty: ") + g_szTimeForms;
        return false;
    }
    // A date always has its '-' at position 4; a number never does.
    if (strText.size() > 4 && strText[4] == '-') {
        return ParseIso(strText, t, strError);
    }
    return ParseSeconds(strText, t, strError);
}
