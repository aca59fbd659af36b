#include "tools/kestrow_sign/utc_time_parse.h"

#include "engine/utc_timestamp.h"

namespace {

const char g_szTimeForms[] =
    "expected YYYY-MM-DDTHH:MM:SSZ (UTC) or a number of seconds since 1970";

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
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
    // Any fraction of zeros is the whole second; the engine reads the rest.
    std::string strWhole = strText;
    if (strText.size() > 20 && strText[19] == '.') {
        const std::size_t nEnd = strText.find_first_not_of("0123456789", 20);
        if (nEnd != 20 && nEnd != std::string::npos) {
            if (strText.find_first_not_of('0', 20) < nEnd) {
                strError = "time '" + strText + "': fractions of a second are not supported";
                return false;
            }
            strWhole = strText.substr(0, 19) + strText.substr(nEnd);
        }
    }
    switch (ParseUtcTimestamp(strWhole, t)) {
    case UTC_PARSE_OK:
        return true;
    case UTC_PARSE_NO_SUCH_TIME:
        strError = "time '" + strText + "' is no valid date and time of day";
        return false;
    case UTC_PARSE_OUT_OF_RANGE:
        strError = RangeMessage(strText);
        return false;
    default:
        strError = "time '" + strText + "': " + g_szTimeForms;
        return false;
    }
}

} // namespace

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
