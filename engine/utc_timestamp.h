#pragma once
// The engine's timestamp text: "YYYY-MM-DDTHH:MM:SS.000Z" in UTC.

#include <cstdint>
#include <string>

#include "framework/cstring.h"

// The range the Windows run-time's 64-bit UTC breakdown accepts.
constexpr std::int64_t g_tTimestampMin = 0;           // 1970-01-01T00:00:00Z
constexpr std::int64_t g_tTimestampMax = 32535215999; // 3000-12-31T23:59:59Z

// The text's length, whatever the time within the range.
constexpr int g_cchTimestamp = 24;

// The empty text outside [g_tTimestampMin, g_tTimestampMax].
CString FormatUtcTimestamp(std::int64_t t);
// The same into pszDest, which has room for g_cchTimestamp characters and a NUL; returns the
// length written (g_cchTimestamp, or 0 outside the range).
int FormatUtcTimestampBuffer(std::int64_t t, char* pszDest);

enum EUtcParse {
    UTC_PARSE_OK,
    UTC_PARSE_BAD_FORM,     // not one of the two forms below
    UTC_PARSE_NO_SUCH_TIME, // the form, but no valid date or time of day
    UTC_PARSE_OUT_OF_RANGE, // outside [g_tTimestampMin, g_tTimestampMax]
};

// Reads "YYYY-MM-DDTHH:MM:SS.000Z" (the form written above) and "YYYY-MM-DDTHH:MM:SSZ";
// t is set only on UTC_PARSE_OK.
EUtcParse ParseUtcTimestamp(const std::string& strText, std::int64_t& t);
