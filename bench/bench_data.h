#pragma once
// Inputs shared by the benchmarks: the same bytes for ours and OpenSSL's.

#include <cstddef>
#include <cstdint>
#include <vector>

// A fixed pseudo-random byte sequence of the given length.
std::vector<std::uint8_t> BenchBytes(std::size_t cb);

// A secret key of the usual 40 characters and a string to sign of 31 bytes: "UrlInfo"
// followed by a timestamp.
extern const char g_szBenchKey[];
extern const char g_szBenchPrefix[];
extern const char g_szBenchMessage[];
constexpr std::uint32_t g_cbBenchMessage = 31;
