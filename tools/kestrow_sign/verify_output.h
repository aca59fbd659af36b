#pragma once
// The printed forms of a verification.

#include <string>
#include <vector>

#include "engine/request_check.h"
#include "tools/kestrow_sign/sign_error.h"

// "Verdict: …", "String to sign: …", "Expected signature: …", "Received signature: …",
// "Skew: …" and one "Hint: …" line per hint. Control characters and bytes that are not UTF-8
// in the values come escaped (terminal_text.h).
std::string FormatVerifyText(const SVerifyReport& report);

// One JSON object on one line: verdict (code), valid (bool), stringToSign,
// expectedSignature, receivedSignature (strings), skewSeconds (number, null when the
// timestamp is malformed), maxSkewSeconds (number), hints (array of {code, text}).
// Fails as WriteJsonLine (json_output.h) for text that is not UTF-8.
bool FormatVerifyJson(const SVerifyReport& report, std::string& strJson, SSignError& error);
