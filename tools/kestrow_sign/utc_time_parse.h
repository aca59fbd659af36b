#pragma once
// The --time value: an ISO 8601 UTC time or a count of seconds since 1970.

#include <cstdint>
#include <string>

// Accepts "YYYY-MM-DDTHH:MM:SSZ", the same with a fraction of zeros only before the Z
// (the engine's own "….000Z" timestamps), or decimal digits (seconds since
// 1970-01-01T00:00:00Z). The result must lie in [g_tTimestampMin, g_tTimestampMax].
// On failure strError holds a one-line reason and t is unchanged.
bool ParseUtcTime(const std::string& strText, std::int64_t& t, std::string& strError);
