#pragma once
// Likely reasons for a refusal, found by trying the common mistakes on the request.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/kestrow_verifier.h"

struct SVerifyHint {
    std::string strCode; // stable: not-url-encoded, other-prefix, timestamp-form, hours-off
    std::string strText; // one line for people
};

struct SVerifyRequest {
    CString strSecretKey; // marked secret
    std::string strPrefix;
    std::string strTimestamp; // as received
    std::string strSignature; // as received, URL-encoded
    bool bHaveOperation = false;
    std::string strOperation; // the URL's Operation value
    std::int64_t tNow = 0;
    std::int64_t nMaxSkew = 0;
};

// The hints that apply to a verification of request with the given result:
// - not-url-encoded: the received signature, decoded, holds blanks exactly where the
//   expected one has "+";
// - other-prefix: the signature does not match, but does under the Operation value;
// - timestamp-form: it does not match, but does over the timestamp with ".000" added or
//   taken away;
// - hours-off: the timestamp lies outside the window, but within it of a whole number of
//   hours (1 to 14) away from now: a local time taken for UTC.
std::vector<SVerifyHint> FindVerifyHints(const SVerifyRequest& request,
                                         const SVerifyResult& result);
