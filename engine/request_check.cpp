#include "engine/request_check.h"

#include "engine/utc_timestamp.h"
#include "engine/verify_hints.h"

namespace {

struct SVerdictName {
    EVerifyVerdict nVerdict;
    const char* pszCode;
    const char* pszText;
};

const SVerdictName g_verdicts[] = {
    {VERIFY_VALID, "valid", "valid"},
    {VERIFY_SIGNATURE_MISMATCH, "signature-mismatch", "signature mismatch"},
    {VERIFY_MALFORMED_SIGNATURE, "malformed-signature", "malformed signature"},
    {VERIFY_MALFORMED_TIMESTAMP, "malformed-timestamp", "malformed timestamp"},
    {VERIFY_TIMESTAMP_TOO_OLD, "timestamp-too-old", "timestamp too old"},
    {VERIFY_TIMESTAMP_IN_FUTURE, "timestamp-in-future", "timestamp in the future"},
};

const SVerdictName& NameOf(EVerifyVerdict nVerdict) {
    for (const SVerdictName& name : g_verdicts) {
        if (name.nVerdict == nVerdict) {
            return name;
        }
    }
    return g_verdicts[0]; // not reached: every verdict is listed
}

} // namespace

SVerifyReport CheckRequest(const SVerifyRequest& request) {
    CKestrowVerifier verifier(request.strSecretKey);
    verifier.m_strPrefix = request.strPrefix;
    verifier.m_nMaxSkew = request.nMaxSkew;
    SVerifyReport report;
    verifier.Verify(request.strTimestamp, request.strSignature, request.tNow, report.result);
    report.strReceivedSignature = request.strSignature;
    report.nMaxSkew = request.nMaxSkew;
    report.hints = FindVerifyHints(request, report.result);
    return report;
}

const char* VerdictCode(EVerifyVerdict nVerdict) {
    return NameOf(nVerdict).pszCode;
}

const char* VerdictText(EVerifyVerdict nVerdict) {
    return NameOf(nVerdict).pszText;
}

bool ParseMaxSkew(const std::string& strValue, std::int64_t& nMaxSkew) {
    std::int64_t nValue = 0;
    for (const char ch : strValue) {
        // Past the maximum already: stop before the value could overflow.
        if (ch < '0' || ch > '9' || nValue > g_tTimestampMax) {
            return false;
        }
        nValue = nValue * 10 + (ch - '0');
    }
    if (strValue.empty() || nValue > g_tTimestampMax) {
        return false;
    }
    nMaxSkew = nValue;
    return true;
}
