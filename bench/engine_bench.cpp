// The signing path: encoders, a complete signature, the cached one and the whole Generate
// operation, with OpenSSL-built equivalents where OpenSSL has one.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <ctime>
#include <string>

#include "app/sample_request.h"
#include "bench/alloc_count.h"
#include "bench/bench_data.h"
#include "bench/openssl_signature.h"
#include "crypto/sha1_path.h"
#include "engine/encoding.h"
#include "engine/kestrow_engine.h"
#include "engine/utc_timestamp.h"

namespace {

constexpr std::int64_t g_tBenchTime = 1796509566; // 2026-12-05T22:26:06Z
// A Base64 signature holding all three characters that need escaping.
const char g_szBase64Signature[] = "Kx3+o/9tQm1Zr5c2Wv8yHn0bE4g=";

void Base64Encode_Kestrow(benchmark::State& state) {
    const auto byDigest = BenchBytes(20);
    const CAllocationMeter meter;
    for (auto _ : state) {
        CString str = Base64Encode(byDigest.data(), static_cast<std::uint32_t>(byDigest.size()));
        benchmark::DoNotOptimize(str.GetString());
    }
    meter.Report(state);
}

void Base64Encode_OpenSSL(benchmark::State& state) {
    const auto byDigest = BenchBytes(20);
    unsigned char szOut[4 * 7 + 1];
    const CAllocationMeter meter;
    for (auto _ : state) {
        EVP_EncodeBlock(szOut, byDigest.data(), static_cast<int>(byDigest.size()));
        benchmark::DoNotOptimize(szOut);
    }
    meter.Report(state);
}

void UrlEncode_Kestrow(benchmark::State& state) {
    const CString strSignature = g_szBase64Signature;
    const CAllocationMeter meter;
    for (auto _ : state) {
        CString str = UrlEncode(strSignature);
        benchmark::DoNotOptimize(str.GetString());
    }
    meter.Report(state);
}

// The timestamp part of a signature, on its own.
void FormatUtcTimestamp_Kestrow(benchmark::State& state) {
    const CAllocationMeter meter;
    for (auto _ : state) {
        CString str = FormatUtcTimestamp(g_tBenchTime);
        benchmark::DoNotOptimize(str.GetString());
    }
    meter.Report(state);
}

bool PrepareEngine(CKestrowEngine& engine, std::int32_t nRefreshInterval) {
    engine.m_nRefreshInterval = nRefreshInterval;
    engine.m_strPrefix = g_szBenchPrefix;
    return engine.SetSecretKey(g_szBenchKey);
}

// Both sides must produce the same pair at the same time, or the comparison is void.
bool SameSignatures() {
    CKestrowEngine engine;
    CString strTimestamp;
    CString strSignature;
    std::string strTheirTimestamp;
    std::string strTheirSignature;
    return PrepareEngine(engine, 0) && engine.SignAt(g_tBenchTime, strTimestamp, strSignature) &&
           OpenSslSignAt(g_tBenchTime, g_szBenchKey, g_szBenchPrefix, strTheirTimestamp,
                         strTheirSignature) &&
           strTimestamp.str() == strTheirTimestamp && strSignature.str() == strTheirSignature;
}

// One engine signing again and again; the first call fills the cache and the outputs.
void SignRepeatedly(benchmark::State& state, std::int32_t nRefreshInterval) {
    CKestrowEngine engine;
    PrepareEngine(engine, nRefreshInterval);
    CString strTimestamp;
    CString strSignature;
    engine.Sign(strTimestamp, strSignature);
    const CAllocationMeter meter;
    for (auto _ : state) {
        engine.Sign(strTimestamp, strSignature);
        benchmark::DoNotOptimize(strSignature.GetString());
    }
    meter.Report(state);
}

// Interval 0: every call reads the clock, formats, hashes and encodes.
void Sign_Kestrow(benchmark::State& state) {
    if (!SameSignatures()) {
        state.SkipWithError("signatures differ from the OpenSSL-built ones");
        return;
    }
    SignRepeatedly(state, 0);
}

void Sign_KestrowInteger(benchmark::State& state) {
    const CSha1IntegerPathScope integerPath;
    Sign_Kestrow(state);
}

void Sign_OpenSSLOneShot(benchmark::State& state) {
    const std::string strKey = g_szBenchKey;
    const std::string strPrefix = g_szBenchPrefix;
    std::string strTimestamp;
    std::string strSignature;
    const CAllocationMeter meter;
    for (auto _ : state) {
        OpenSslSignAt(std::time(nullptr), strKey, strPrefix, strTimestamp, strSignature);
        benchmark::DoNotOptimize(strSignature.data());
    }
    meter.Report(state);
}

// The default interval: within it Sign only hands out the cached pair.
void SignCached_Kestrow(benchmark::State& state) {
    SignRepeatedly(state, 300);
}

// A new key: the old keyed-hash object and key text go (wiped), the new ones are built.
void SetSecretKey_Kestrow(benchmark::State& state) {
    const std::string strOtherKey = std::string(g_szBenchKey) + "2";
    CKestrowEngine engine;
    PrepareEngine(engine, 0);
    const char* apszKeys[] = {strOtherKey.c_str(), g_szBenchKey};
    std::size_t nKey = 0;
    const CAllocationMeter meter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.SetSecretKey(apszKeys[nKey ^= 1]));
    }
    meter.Report(state);
}

// An engine's whole life without signing: built, keyed, destroyed (everything wiped).
void EngineLifetime_Kestrow(benchmark::State& state) {
    const CAllocationMeter meter;
    for (auto _ : state) {
        CKestrowEngine engine;
        benchmark::DoNotOptimize(PrepareEngine(engine, 0));
    }
    meter.Report(state);
}

void ComposeSampleRequest_Kestrow(benchmark::State& state) {
    const CString strSecretKey = g_szBenchKey;
    const CString strAccessKeyId = "KESTROWMADEUP01";
    const CString strPrefix = g_szBenchPrefix;
    CString strTimestamp;
    CString strSignature;
    CString strSampleUrl;
    const CAllocationMeter meter;
    for (auto _ : state) {
        ComposeSampleRequest(strSecretKey, strAccessKeyId, strPrefix, strTimestamp, strSignature,
                             strSampleUrl);
        benchmark::DoNotOptimize(strSampleUrl.GetString());
    }
    meter.Report(state);
}

} // namespace

BENCHMARK(Base64Encode_Kestrow);
BENCHMARK(Base64Encode_OpenSSL);
BENCHMARK(UrlEncode_Kestrow);
BENCHMARK(FormatUtcTimestamp_Kestrow);
BENCHMARK(Sign_Kestrow);
BENCHMARK(Sign_KestrowInteger);
BENCHMARK(Sign_OpenSSLOneShot);
BENCHMARK(SignCached_Kestrow);
BENCHMARK(SetSecretKey_Kestrow);
BENCHMARK(EngineLifetime_Kestrow);
BENCHMARK(ComposeSampleRequest_Kestrow);
