#pragma once
// The check dialog's work without a window: the request read from a pasted URL or from its
// timestamp and signature typed apart, checked, and the outcome in words.

#include <cstdint>

#include "framework/cstring.h"

// What the check dialog's fields hold.
struct SCheckFields {
    CString strUrl;       // a signed request URL; when not empty it gives the two below
    CString strTimestamp; // as received
    CString strSignature; // as received, URL-encoded
    CString strPrefix;
    CString strMaxSkew; // seconds either way, as typed
};

// Checks the request of fields at tNow with strSecretKey. The lines for people, separated by
// "\r\n" as an edit control shows them: the verdict, the string to sign, the expected and
// received signatures, the timestamp's distance from now and one line per hint; or one line
// saying why nothing was checked (no key, a skew that is no number, a URL that cannot be read,
// nothing given). A URL that is not empty replaces fields.strTimestamp and fields.strSignature
// with what it gives, empty when it cannot be read.
CString DescribeCheckAt(std::int64_t tNow, const CString& strSecretKey, SCheckFields& fields);

// A number of seconds in words, largest unit first: "3 min 12 s", "2 d 1 h", "0 s".
CString DurationInWords(std::uint64_t nSeconds);
