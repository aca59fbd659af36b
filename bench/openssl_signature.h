#pragma once
// The request signature as a caller of OpenSSL would build it: a UTC timestamp from the C
// library, one-shot HMAC, EVP_EncodeBlock and a plain query-value escape. The yardstick
// for the engine; used by the benchmarks only.

#include <cstdint>
#include <string>

// False when the time cannot be formatted or OpenSSL fails.
bool OpenSslSignAt(std::int64_t tNow, const std::string& strKey, const std::string& strPrefix,
                   std::string& strTimestamp, std::string& strSignature);
