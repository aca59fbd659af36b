// A complete signature, SignAt on a fresh engine, against the same built from the C
// library's gmtime_r/strftime and OpenSSL's HMAC and EVP_EncodeBlock, for fuzzer-chosen
// keys, prefixes and times across the whole timestamp range.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "bench/openssl_signature.h"
#include "engine/utc_timestamp.h"
#include "fuzz/fuzz_signing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    FuzzedDataProvider provider(pbData, cbData);
    const auto tNow =
        provider.ConsumeIntegralInRange<std::int64_t>(g_tTimestampMin - 100, g_tTimestampMax + 100);
    const SFuzzSigning signing = SignFromFuzzerBytes(provider, tNow);
    const std::string& strKey = signing.strKey;
    const std::string& strPrefix = signing.strPrefix;
    const CString& strTimestamp = signing.strTimestamp;
    const CString& strSignature = signing.strSignature;

    if (tNow < g_tTimestampMin || tNow > g_tTimestampMax) {
        return 0; // nothing signed, as SignFromFuzzerBytes checked
    }
    std::string strTheirTimestamp;
    std::string strTheirSignature;
    if (!OpenSslSignAt(tNow, strKey, strPrefix, strTheirTimestamp, strTheirSignature) ||
        strTimestamp.str() != strTheirTimestamp || strSignature.str() != strTheirSignature) {
        std::abort();
    }
    return 0;
}
