#pragma once
// The signed values of a request URL's query.

#include <string>

#include "engine/request_check.h"

// The placeholder a sample URL keeps where the Access Key ID goes, until one is given.
extern const char g_szKeyPlaceholder[];

// The query runs from the first '?' to a '#' or the end; its parameters are separated by
// '&', each "name=value" or a bare name. Timestamp and Signature must each appear exactly
// once, and every name and value must decode (no broken percent escape), the placeholder
// g_szKeyPlaceholder standing for itself. Sets request's timestamp (decoded), signature (as it
// stands, still URL-encoded), Operation (decoded, when it appears exactly once) and whether a
// placeholder was seen. Otherwise false, with request untouched and a one-line reason in
// strError.
bool ReadRequestUrl(const std::string& strUrl, SVerifyRequest& request, std::string& strError);
