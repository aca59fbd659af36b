#pragma once
// The printed forms of a signing result.

#include <string>

#include "tools/kestrow_sign/sign_error.h"
#include "tools/kestrow_sign/sign_request.h"

// "Timestamp: …", "Signature: …", "Sample URL: …", "Complete: yes|no", one line each.
// Values are written as they are.
std::string FormatSignText(const SSignResult& result);

// One JSON object on one line: timestamp, signature, sampleUrl (strings), complete (bool).
// Fails as WriteJsonLine (json_output.h) for text that is not UTF-8.
bool FormatSignJson(const SSignResult& result, std::string& strJson, SSignError& error);
