#pragma once
// The engine's timestamp text: "YYYY-MM-DDTHH:MM:SS.000Z" in UTC.

#include <cstdint>

#include "framework/cstring.h"

// The range the Windows run-time's 64-bit UTC breakdown accepts.
constexpr std::int64_t g_tTimestampMin = 0;                 // 1970-01-01T00:00:00Z
constexpr std::int64_t g_tTimestampMax = 32535215999;       // 3000-12-31T23:59:59Z

// The empty text outside [g_tTimestampMin, g_tTimestampMax].
CString FormatUtcTimestamp(std::int64_t t);
