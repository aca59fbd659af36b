#include "app/check_report.h"

#include <string>

#include "engine/request_check.h"
#include "engine/request_url.h"
#include "engine/utc_timestamp.h"

namespace {

// The timestamp's distance from now, and the window the check accepted.
std::string DistanceLine(const SVerifyReport& report) {
    if (!report.result.bTimestampRead) {
        return "Timestamp: its distance from now is unknown (malformed timestamp)";
    }
    const std::int64_t nSkew = report.result.nSkew;
    // The magnitude of any skew, the most negative included.
    const std::uint64_t nDistance =
        nSkew < 0 ? 0 - static_cast<std::uint64_t>(nSkew) : static_cast<std::uint64_t>(nSkew);
    return "Timestamp: " + DurationInWords(nDistance).str() +
           (nSkew < 0 ? " behind now" : nSkew > 0 ? " ahead of now" : " from now") +
           " (accepted: " + DurationInWords(static_cast<std::uint64_t>(report.nMaxSkew)).str() +
           " either way)";
}

} // namespace

CString DescribeCheckAt(std::int64_t tNow, const CString& strSecretKey, SCheckFields& fields) {
    SVerifyRequest request;
    std::string strUrlError;
    if (!fields.strUrl.IsEmpty()) {
        fields.strTimestamp.Empty();
        fields.strSignature.Empty();
        if (ReadRequestUrl(fields.strUrl.str(), request, strUrlError)) {
            fields.strTimestamp = request.strTimestamp;
            fields.strSignature = request.strSignature;
        }
    }
    if (strSecretKey.IsEmpty()) {
        return "Nothing was checked: the Secret Access Key field of the main window is empty. "
               "Close this window, type the key there and check again.";
    }
    if (!ParseMaxSkew(fields.strMaxSkew.str(), request.nMaxSkew)) {
        return "Nothing was checked: the accepted skew must be a whole number of seconds from 0 "
               "to " +
               std::to_string(g_tTimestampMax) + ".";
    }
    if (!strUrlError.empty()) {
        return "Nothing was checked: " + strUrlError + ".";
    }
    if (fields.strUrl.IsEmpty() && fields.strTimestamp.IsEmpty() && fields.strSignature.IsEmpty()) {
        return "Paste a signed request URL, or type its timestamp and signature.";
    }
    request.strSecretKey = strSecretKey;
    request.strPrefix = fields.strPrefix.str();
    request.strTimestamp = fields.strTimestamp.str();
    request.strSignature = fields.strSignature.str();
    request.tNow = tNow;
    const SVerifyReport report = CheckRequest(request);
    const SVerifyResult& result = report.result;
    std::string strText = std::string("Verdict: ") + VerdictText(result.nVerdict) +
                          "\r\nString to sign: " + result.strStringToSign.str() +
                          "\r\nExpected signature: " + result.strExpectedSignature.str() +
                          "\r\nReceived signature: " + report.strReceivedSignature + "\r\n" +
                          DistanceLine(report);
    for (const SVerifyHint& hint : report.hints) {
        strText += "\r\nHint: " + hint.strText;
    }
    return strText;
}

CString DurationInWords(std::uint64_t nSeconds) {
    static const struct {
        std::uint64_t nSeconds;
        const char* pszUnit;
    } kUnits[] = {{86400, " d"}, {3600, " h"}, {60, " min"}, {1, " s"}};
    std::string strWords;
    for (const auto& unit : kUnits) {
        const std::uint64_t nCount = nSeconds / unit.nSeconds;
        nSeconds %= unit.nSeconds;
        if (nCount != 0) {
            strWords += (strWords.empty() ? "" : " ") + std::to_string(nCount) + unit.pszUnit;
        }
    }
    return strWords.empty() ? CString("0 s") : CString(strWords);
}
