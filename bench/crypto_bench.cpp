// SHA-1 and HMAC-SHA1: ours against OpenSSL's libcrypto on the same inputs.

#include <benchmark/benchmark.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/sha.h>

#include <cstring>

#include "bench/alloc_count.h"
#include "bench/bench_data.h"
#include "crypto/hmac_sha1.h"
#include "crypto/sha1.h"
#include "crypto/sha1_path.h"

namespace {

const std::uint8_t* KeyBytes() {
    return reinterpret_cast<const std::uint8_t*>(g_szBenchKey);
}
const int g_cbKey = static_cast<int>(std::strlen(g_szBenchKey));
const std::uint8_t* MessageBytes() {
    return reinterpret_cast<const std::uint8_t*>(g_szBenchMessage);
}

void KestrowSha1(const std::vector<std::uint8_t>& byData, std::uint8_t* pbDigest) {
    CSHA1 sha;
    sha.AddData(byData.data(), static_cast<std::uint32_t>(byData.size()));
    sha.Finish();
    sha.CopyDigest(pbDigest);
}

// A figure is worth nothing if the two sides disagree on the result.
bool SameSha1(const std::vector<std::uint8_t>& byData) {
    std::uint8_t byOurs[SHA_DIGEST_LENGTH];
    std::uint8_t byTheirs[SHA_DIGEST_LENGTH];
    KestrowSha1(byData, byOurs);
    SHA1(byData.data(), byData.size(), byTheirs);
    return std::memcmp(byOurs, byTheirs, sizeof(byOurs)) == 0;
}

bool OneShotHmac(std::uint8_t* pbMac) {
    unsigned int cbMac = 0;
    return HMAC(EVP_sha1(), g_szBenchKey, g_cbKey, MessageBytes(), g_cbBenchMessage, pbMac,
                &cbMac) != nullptr &&
           cbMac == SHA_DIGEST_LENGTH;
}

void Sha1_Kestrow(benchmark::State& state) {
    const auto byData = BenchBytes(static_cast<std::size_t>(state.range(0)));
    if (!SameSha1(byData)) {
        state.SkipWithError("digests differ from OpenSSL's");
        return;
    }
    std::uint8_t byDigest[CSHA1::DIGEST_SIZE];
    const CAllocationMeter meter;
    for (auto _ : state) {
        KestrowSha1(byData, byDigest);
        benchmark::DoNotOptimize(byDigest);
    }
    meter.Report(state);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The same held to the integer path: both of our paths side by side on one machine.
void Sha1_KestrowInteger(benchmark::State& state) {
    const CSha1IntegerPathScope integerPath;
    Sha1_Kestrow(state);
}

void Sha1_OpenSSL(benchmark::State& state) {
    const auto byData = BenchBytes(static_cast<std::size_t>(state.range(0)));
    std::uint8_t byDigest[SHA_DIGEST_LENGTH];
    const CAllocationMeter meter;
    for (auto _ : state) {
        SHA1(byData.data(), byData.size(), byDigest);
        benchmark::DoNotOptimize(byDigest);
    }
    meter.Report(state);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void HmacSha1_Kestrow(benchmark::State& state) {
    const CHMAC_SHA1 hmac(KeyBytes(), g_cbKey);
    CByteArray baMac;
    std::uint8_t byExpected[SHA_DIGEST_LENGTH];
    hmac.ComputeMac(MessageBytes(), g_cbBenchMessage, baMac);
    if (!OneShotHmac(byExpected) || baMac.GetSize() != SHA_DIGEST_LENGTH ||
        std::memcmp(baMac.GetData(), byExpected, SHA_DIGEST_LENGTH) != 0) {
        state.SkipWithError("MAC differs from OpenSSL's");
        return;
    }
    const CAllocationMeter meter;
    for (auto _ : state) {
        hmac.ComputeMac(MessageBytes(), g_cbBenchMessage, baMac);
        benchmark::DoNotOptimize(baMac.GetData());
    }
    meter.Report(state);
}

// Keying alone: a keyed-hash object built and destroyed (the two pads hashed, all wiped).
void HmacSha1Keying_Kestrow(benchmark::State& state) {
    const CAllocationMeter meter;
    for (auto _ : state) {
        const CHMAC_SHA1 hmac(KeyBytes(), g_cbKey);
        benchmark::DoNotOptimize(&hmac);
    }
    meter.Report(state);
}

void HmacSha1_KestrowInteger(benchmark::State& state) {
    const CSha1IntegerPathScope integerPath;
    HmacSha1_Kestrow(state);
}

void HmacSha1_OpenSSLOneShot(benchmark::State& state) {
    std::uint8_t byMac[EVP_MAX_MD_SIZE];
    const CAllocationMeter meter;
    for (auto _ : state) {
        if (!OneShotHmac(byMac)) {
            state.SkipWithError("HMAC failed");
            break;
        }
        benchmark::DoNotOptimize(byMac);
    }
    meter.Report(state);
}

// The context keeps the key's two pad states; each MAC re-initialises from them.
void HmacSha1_OpenSSLReusedContext(benchmark::State& state) {
    EVP_MAC* pMac = EVP_MAC_fetch(nullptr, OSSL_MAC_NAME_HMAC, nullptr);
    EVP_MAC_CTX* pCtx = pMac != nullptr ? EVP_MAC_CTX_new(pMac) : nullptr;
    char szDigest[] = "SHA1";
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, szDigest, 0),
        OSSL_PARAM_construct_end()};
    std::uint8_t byMac[EVP_MAX_MD_SIZE];
    std::uint8_t byExpected[EVP_MAX_MD_SIZE];
    std::size_t cbMac = 0;
    const auto computeMac = [&] {
        return EVP_MAC_init(pCtx, nullptr, 0, nullptr) == 1 &&
               EVP_MAC_update(pCtx, MessageBytes(), g_cbBenchMessage) == 1 &&
               EVP_MAC_final(pCtx, byMac, &cbMac, sizeof(byMac)) == 1;
    };
    if (pCtx == nullptr || EVP_MAC_init(pCtx, KeyBytes(), g_cbKey, params) != 1 || !computeMac() ||
        !OneShotHmac(byExpected) || cbMac != SHA_DIGEST_LENGTH ||
        std::memcmp(byMac, byExpected, SHA_DIGEST_LENGTH) != 0) {
        state.SkipWithError("reused HMAC context failed");
    } else {
        const CAllocationMeter meter;
        for (auto _ : state) {
            computeMac();
            benchmark::DoNotOptimize(byMac);
        }
        meter.Report(state);
    }
    EVP_MAC_CTX_free(pCtx);
    EVP_MAC_free(pMac);
}

} // namespace

BENCHMARK(Sha1_Kestrow)->Arg(64)->Arg(1024)->Arg(1 << 20);
BENCHMARK(Sha1_KestrowInteger)->Arg(64)->Arg(1024)->Arg(1 << 20);
BENCHMARK(Sha1_OpenSSL)->Arg(64)->Arg(1024)->Arg(1 << 20);
BENCHMARK(HmacSha1_Kestrow);
BENCHMARK(HmacSha1_KestrowInteger);
BENCHMARK(HmacSha1Keying_Kestrow);
BENCHMARK(HmacSha1_OpenSSLOneShot);
BENCHMARK(HmacSha1_OpenSSLReusedContext);
