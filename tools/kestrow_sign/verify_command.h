#pragma once
// "kestrow-sign verify": checks a signed request and explains a refusal.

// argv[1] is "verify". Returns the exit status: 0 valid; 6 signature mismatch or
// malformed; 7 timestamp malformed or outside the window; 1, 2, 3, 5 as for signing.
int RunVerify(int argc, const char* const* argv);
