#include "tools/kestrow_sign/verify_output.h"

#include "tools/kestrow_sign/json_string.h"

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

const char* VerdictCode(EVerifyVerdict nVerdict) {
    return NameOf(nVerdict).pszCode;
}

std::string FormatVerifyText(const SVerifyReport& report) {
    const SVerifyResult& result = report.result;
    std::string strText = std::string("Verdict: ") + NameOf(result.nVerdict).pszText +
                          "\nString to sign: " + result.strStringToSign.str() +
                          "\nExpected signature: " + result.strExpectedSignature.str() +
                          "\nReceived signature: " + report.strReceivedSignature + "\nSkew: ";
    strText += result.bTimestampRead
                   ? std::to_string(result.nSkew) +
                         " s (allowed: " + std::to_string(report.nMaxSkew) + " s either way)"
                   : std::string("unknown (malformed timestamp)");
    strText += "\n";
    for (const SVerifyHint& hint : report.hints) {
        strText += "Hint: " + hint.strText + "\n";
    }
    return strText;
}

std::string FormatVerifyJson(const SVerifyReport& report) {
    const SVerifyResult& result = report.result;
    std::string strJson =
        std::string("{\"verdict\":\"") + VerdictCode(result.nVerdict) +
        "\",\"valid\":" + (result.nVerdict == VERIFY_VALID ? "true" : "false") +
        ",\"stringToSign\":" + JsonQuote(result.strStringToSign.str()) +
        ",\"expectedSignature\":" + JsonQuote(result.strExpectedSignature.str()) +
        ",\"receivedSignature\":" + JsonQuote(report.strReceivedSignature) +
        ",\"skewSeconds\":" + (result.bTimestampRead ? std::to_string(result.nSkew) : "null") +
        ",\"maxSkewSeconds\":" + std::to_string(report.nMaxSkew) + ",\"hints\":[";
    for (std::size_t i = 0; i < report.hints.size(); ++i) {
        strJson += (i == 0 ? "{\"code\":" : ",{\"code\":") + JsonQuote(report.hints[i].strCode) +
                   ",\"text\":" + JsonQuote(report.hints[i].strText) + "}";
    }
    return strJson + "]}\n";
}
