// A complete signature, SignAt on a fresh engine, against the same built from the C
// library's gmtime_r/strftime and OpenSSL's HMAC and EVP_EncodeBlock, for fuzzer-chosen
// keys, prefixes and times across the whole timestamp range.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "bench/openssl_signature.h"
#include "engine/kestrow_engine.h"
#include "engine/utc_timestamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    FuzzedDataProvider provider(pbData, cbData);
    const auto tNow =
        provider.ConsumeIntegralInRange<std::int64_t>(g_tTimestampMin - 100, g_tTimestampMax + 100);
    // Key texts end at their first NUL, as the engine takes them.
    const std::string strKey = provider.ConsumeRandomLengthString(200).c_str();
    const std::string strPrefix = provider.ConsumeRemainingBytesAsString();

    CKestrowEngine engine;
    engine.m_nRefreshInterval = 0;
    engine.m_strPrefix = CString(strPrefix);
    CString strTimestamp;
    CString strSignature;
    if (!engine.SetSecretKey(strKey.c_str()) || !engine.SignAt(tNow, strTimestamp, strSignature)) {
        std::abort();
    }

    if (tNow < g_tTimestampMin || tNow > g_tTimestampMax) {
        // Outside the range the timestamp is empty and the prefix is signed alone.
        if (!strTimestamp.IsEmpty()) {
            std::abort();
        }
        return 0;
    }
    std::string strTheirTimestamp;
    std::string strTheirSignature;
    if (!OpenSslSignAt(tNow, strKey, strPrefix, strTheirTimestamp, strTheirSignature) ||
        strTimestamp.str() != strTheirTimestamp || strSignature.str() != strTheirSignature) {
        std::abort();
    }
    return 0;
}
