#pragma once
// "kestrow-sign verify": checks a signed request and explains a refusal.

#include "tools/kestrow_sign/verify_options.h"

// Returns the exit status: 0 valid; 6 signature mismatch or malformed; 7 timestamp
// malformed or outside the window; 1, 2, 3, 5 as for signing.
int RunVerify(const SVerifyOptions& options);
