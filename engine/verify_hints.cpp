#include "engine/verify_hints.h"

#include <algorithm>

#include "engine/decoding.h"

namespace {

constexpr std::int64_t g_nSecondsPerHour = 3600;
// Time zones lie from 12 hours behind UTC to 14 ahead of it.
constexpr std::int64_t g_nMaxZoneHours = 14;

bool SignatureMatches(const SVerifyRequest& request, const std::string& strPrefix,
                      const std::string& strTimestamp) {
    CKestrowVerifier verifier(request.strSecretKey);
    verifier.m_strPrefix = strPrefix;
    SVerifyResult result;
    const EVerifyVerdict nVerdict =
        verifier.Verify(strTimestamp, request.strSignature, request.tNow, result);
    return nVerdict == VERIFY_VALID || nVerdict == VERIFY_TIMESTAMP_TOO_OLD ||
           nVerdict == VERIFY_TIMESTAMP_IN_FUTURE;
}

bool NotUrlEncoded(const SVerifyRequest& request, const SVerifyResult& result) {
    CString strReceived;
    CString strExpected;
    if (!UrlDecode(request.strSignature, strReceived) ||
        !UrlDecode(result.strExpectedSignature, strExpected) ||
        strReceived.str().find(' ') == std::string::npos) {
        return false;
    }
    std::string strRestored = strReceived.str();
    std::replace(strRestored.begin(), strRestored.end(), ' ', '+');
    return strRestored == strExpected.str();
}

// The timestamp with ".000" added or taken away, or "" when it has neither form.
std::string OtherTimestampForm(const std::string& strTimestamp) {
    if (strTimestamp.size() == 20) {
        return strTimestamp.substr(0, 19) + ".000Z";
    }
    if (strTimestamp.size() == 24 && strTimestamp.compare(19, 5, ".000Z") == 0) {
        return strTimestamp.substr(0, 19) + "Z";
    }
    return "";
}

std::string HoursOff(const SVerifyResult& result, std::int64_t nMaxSkew) {
    if (!result.bTimestampRead || (result.nSkew >= -nMaxSkew && result.nSkew <= nMaxSkew) ||
        result.nSkew > (g_nMaxZoneHours + 1) * g_nSecondsPerHour ||
        result.nSkew < -(g_nMaxZoneHours + 1) * g_nSecondsPerHour) {
        return "";
    }
    const std::int64_t nHalf = g_nSecondsPerHour / 2;
    const std::int64_t nHours =
        (result.nSkew + (result.nSkew >= 0 ? nHalf : -nHalf)) / g_nSecondsPerHour;
    const std::int64_t nRest = result.nSkew - nHours * g_nSecondsPerHour;
    const std::int64_t nWhole = nHours < 0 ? -nHours : nHours;
    if (nWhole < 1 || nWhole > g_nMaxZoneHours || nRest < -nMaxSkew || nRest > nMaxSkew) {
        return "";
    }
    return "the timestamp is " + std::to_string(nWhole) + (nWhole == 1 ? " hour " : " hours ") +
           (nHours > 0 ? "ahead of" : "behind") +
           " now: was a local time taken for UTC? The timestamp must be in UTC";
}

} // namespace

std::vector<SVerifyHint> FindVerifyHints(const SVerifyRequest& request,
                                         const SVerifyResult& result) {
    std::vector<SVerifyHint> hints;
    if (NotUrlEncoded(request, result)) {
        hints.push_back({"not-url-encoded",
                         "the signature was not URL-encoded: its \"+\" arrived as a blank; "
                         "send \"+\" as %2B"});
    }
    if (result.nVerdict == VERIFY_SIGNATURE_MISMATCH) {
        if (request.bHaveOperation && request.strOperation != request.strPrefix &&
            SignatureMatches(request, request.strOperation, request.strTimestamp)) {
            hints.push_back({"other-prefix", "signed with prefix " + request.strOperation +
                                                 " (the URL's Operation), not " +
                                                 request.strPrefix});
        }
        const std::string strOther = OtherTimestampForm(request.strTimestamp);
        if (!strOther.empty() && SignatureMatches(request, request.strPrefix, strOther)) {
            hints.push_back(
                {"timestamp-form", request.strTimestamp.size() == 20
                                       ? "the timestamp has no .000: the signature is over " +
                                             strOther + "; send the timestamp exactly as signed"
                                       : "the signature is over the timestamp without .000, " +
                                             strOther + "; send the timestamp exactly as signed"});
        }
    }
    const std::string strHours = HoursOff(result, request.nMaxSkew);
    if (!strHours.empty()) {
        hints.push_back({"hours-off", strHours});
    }
    if (request.bKeyPlaceholder) {
        hints.push_back({"placeholder", "the URL still holds the placeholder %key%: put your "
                                        "Access Key ID in its place before sending the request"});
    }
    return hints;
}
