// Checking a signed request: CKestrowVerifier against the same check built from OpenSSL's
// one-shot HMAC, EVP_DecodeBlock and CRYPTO_memcmp, with the C library reading the
// timestamp. Both sides read the timestamp, decode the URL-encoded signature, recompute the
// digest, compare in constant time and test the window.

#include <benchmark/benchmark.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "bench/alloc_count.h"
#include "bench/bench_data.h"
#include "bench/openssl_signature.h"
#include "crypto/sha1_path.h"
#include "engine/kestrow_verifier.h"

namespace {

constexpr std::int64_t g_tBenchSigned = 1796509566; // 2026-12-05T22:26:06Z
constexpr std::int64_t g_tBenchNow = g_tBenchSigned + 4;

int HexValue(char ch) {
    return ch >= '0' && ch <= '9'   ? ch - '0'
           : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
           : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                                    : -1;
}

// The timestamp and URL-encoded signature the engine would send, built with OpenSSL.
bool OpenSslSignedRequest(std::string& strTimestamp, std::string& strSignature) {
    return OpenSslSignAt(g_tBenchSigned, g_szBenchKey, g_szBenchPrefix, strTimestamp, strSignature);
}

// True when the request is valid: the OpenSSL-built check.
bool OpenSslVerify(const std::string& strKey, const std::string& strPrefix,
                   const std::string& strTimestamp, const std::string& strSignature,
                   std::int64_t tNow, std::int64_t nMaxSkew) {
    std::tm tmStamp{};
    int nConsumed = 0;
    if (std::sscanf(strTimestamp.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.000Z%n", &tmStamp.tm_year,
                    &tmStamp.tm_mon, &tmStamp.tm_mday, &tmStamp.tm_hour, &tmStamp.tm_min,
                    &tmStamp.tm_sec, &nConsumed) != 6 ||
        static_cast<std::size_t>(nConsumed) != strTimestamp.size()) {
        return false;
    }
    tmStamp.tm_year -= 1900;
    tmStamp.tm_mon -= 1;
    const std::int64_t nSkew = static_cast<std::int64_t>(timegm(&tmStamp)) - tNow;
    char szBase64[64];
    std::size_t cchBase64 = 0;
    for (std::size_t i = 0; i < strSignature.size() && cchBase64 < sizeof szBase64; ++i) {
        if (strSignature[i] == '%' && i + 2 < strSignature.size()) {
            szBase64[cchBase64++] = static_cast<char>(HexValue(strSignature[i + 1]) * 16 +
                                                      HexValue(strSignature[i + 2]));
            i += 2;
        } else {
            szBase64[cchBase64++] = strSignature[i] == '+' ? ' ' : strSignature[i];
        }
    }
    unsigned char byReceived[64];
    if (cchBase64 != 28 ||
        EVP_DecodeBlock(byReceived, reinterpret_cast<const unsigned char*>(szBase64),
                        static_cast<int>(cchBase64)) != 21) {
        return false;
    }
    const std::string strToSign = strPrefix + strTimestamp;
    unsigned char byExpected[EVP_MAX_MD_SIZE];
    unsigned int cbExpected = 0;
    HMAC(EVP_sha1(), strKey.data(), static_cast<int>(strKey.size()),
         reinterpret_cast<const unsigned char*>(strToSign.data()), strToSign.size(), byExpected,
         &cbExpected);
    return CRYPTO_memcmp(byExpected, byReceived, 20) == 0 && nSkew >= -nMaxSkew &&
           nSkew <= nMaxSkew;
}

void Verify_Kestrow(benchmark::State& state) {
    std::string strSentTimestamp;
    std::string strSentSignature;
    CKestrowVerifier verifier(g_szBenchKey);
    verifier.m_strPrefix = g_szBenchPrefix;
    SVerifyResult result;
    const bool bSigned = OpenSslSignedRequest(strSentTimestamp, strSentSignature);
    const CString strTimestamp = strSentTimestamp;
    const CString strReceived = strSentSignature;
    if (!bSigned ||
        verifier.Verify(strTimestamp, strReceived, g_tBenchNow, result) != VERIFY_VALID) {
        state.SkipWithError("the OpenSSL-built signature does not verify");
        return;
    }
    const CAllocationMeter meter;
    for (auto _ : state) {
        verifier.Verify(strTimestamp, strReceived, g_tBenchNow, result);
        benchmark::DoNotOptimize(result.nVerdict);
    }
    meter.Report(state);
}

void Verify_KestrowInteger(benchmark::State& state) {
    const CSha1IntegerPathScope integerPath;
    Verify_Kestrow(state);
}

void Verify_OpenSSL(benchmark::State& state) {
    const std::string strKey = g_szBenchKey;
    const std::string strPrefix = g_szBenchPrefix;
    std::string strTimestamp;
    std::string strSignature;
    if (!OpenSslSignedRequest(strTimestamp, strSignature) ||
        !OpenSslVerify(strKey, strPrefix, strTimestamp, strSignature, g_tBenchNow,
                       g_nDefaultMaxSkew)) {
        state.SkipWithError("the OpenSSL-built check refuses its own signature");
        return;
    }
    const CAllocationMeter meter;
    for (auto _ : state) {
        const bool bValid = OpenSslVerify(strKey, strPrefix, strTimestamp, strSignature,
                                          g_tBenchNow, g_nDefaultMaxSkew);
        benchmark::DoNotOptimize(bValid);
    }
    meter.Report(state);
}

} // namespace

BENCHMARK(Verify_Kestrow);
BENCHMARK(Verify_KestrowInteger);
BENCHMARK(Verify_OpenSSL);
