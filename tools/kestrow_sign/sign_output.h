#pragma once
// The printed forms of a signing result.

#include <string>

#include "tools/kestrow_sign/sign_request.h"

// "Timestamp: …", "Signature: …", "Sample URL: …", "Complete: yes|no", one line each.
// Values are written as they are.
std::string FormatSignText(const SSignResult& result);

// One JSON object on one line: timestamp, signature, sampleUrl (strings), complete (bool).
std::string FormatSignJson(const SSignResult& result);
