#pragma once
// The signed values of a request URL's query.

#include <string>

#include "tools/kestrow_sign/sign_error.h"

struct SRequestUrl {
    std::string strTimestamp;    // URL-decoded
    std::string strSignature;    // as it stands in the query, still URL-encoded
    bool bHaveOperation = false; // Operation appears exactly once
    std::string strOperation;    // URL-decoded
};

// The query runs from the first '?' to a '#' or the end; its parameters are separated by
// '&', each "name=value" or a bare name. Timestamp and Signature must each appear exactly
// once, and every name and value must decode (no broken percent escape); otherwise false
// with SIGN_EXIT_USAGE and a message.
bool ReadRequestUrl(const std::string& strUrl, SRequestUrl& request, SSignError& error);
