#pragma once
// A signed request checked as the receiving service would check it, with the likely reasons
// for a refusal: the one check behind kestrow-sign verify and the dialog's.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/kestrow_verifier.h"

struct SVerifyRequest {
    CString strSecretKey; // marked secret
    std::string strPrefix;
    std::string strTimestamp; // as received
    std::string strSignature; // as received, URL-encoded
    bool bHaveOperation = false;
    std::string strOperation; // the URL's Operation value
    std::int64_t tNow = 0;
    std::int64_t nMaxSkew = g_nDefaultMaxSkew;
    bool bKeyPlaceholder = false; // the URL still holds %key% where the Access Key ID goes
};

struct SVerifyHint {
    // Stable: not-url-encoded, other-prefix, timestamp-form, hours-off, placeholder.
    std::string strCode;
    std::string strText; // one line for people
};

struct SVerifyReport {
    SVerifyResult result;
    std::string strReceivedSignature; // as it came
    std::int64_t nMaxSkew = 0;
    std::vector<SVerifyHint> hints;
};

// The verifier's verdict on the request, under its prefix and skew, and the hints that apply.
SVerifyReport CheckRequest(const SVerifyRequest& request);

// "valid", "signature-mismatch", "malformed-signature", "malformed-timestamp",
// "timestamp-too-old", "timestamp-in-future".
const char* VerdictCode(EVerifyVerdict nVerdict);
// The same for people: "valid", "signature mismatch", ...
const char* VerdictText(EVerifyVerdict nVerdict);

// An accepted skew as typed: decimal digits only, from 0 to g_tTimestampMax.
bool ParseMaxSkew(const std::string& strValue, std::int64_t& nMaxSkew);
