#include "bench/bench_data.h"

const char g_szBenchKey[] = "kestrowMadeUp/Secret+Key0123456789abcdef";
const char g_szBenchPrefix[] = "UrlInfo";
const char g_szBenchMessage[] = "UrlInfo2026-12-05T22:26:06.000Z";
static_assert(sizeof(g_szBenchMessage) - 1 == g_cbBenchMessage, "31 bytes to sign");

std::vector<std::uint8_t> BenchBytes(std::size_t cb) {
    std::vector<std::uint8_t> by(cb);
    std::uint32_t dwSeed = 0x9E3779B9u;
    for (auto& b : by) {
        // xorshift32: cheap, and any fixed content serves.
        dwSeed ^= dwSeed << 13;
        dwSeed ^= dwSeed >> 17;
        dwSeed ^= dwSeed << 5;
        b = static_cast<std::uint8_t>(dwSeed >> 24);
    }
    return by;
}
