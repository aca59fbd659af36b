#pragma once
// Likely reasons for a refusal, found by trying the common mistakes on the request.

#include <vector>

#include "engine/request_check.h"

// The hints that apply to a verification of request with the given result:
// - not-url-encoded: the received signature, decoded, holds blanks exactly where the
//   expected one has "+";
// - other-prefix: the signature does not match, but does under the Operation value;
// - timestamp-form: it does not match, but does over the timestamp with ".000" added or
//   taken away;
// - hours-off: the timestamp lies outside the window, but within it of a whole number of
//   hours (1 to 14) away from now: a local time taken for UTC;
// - placeholder: the URL still holds %key%, which the Access Key ID must replace before the
//   request is sent (the signature does not cover it).
std::vector<SVerifyHint> FindVerifyHints(const SVerifyRequest& request,
                                         const SVerifyResult& result);
