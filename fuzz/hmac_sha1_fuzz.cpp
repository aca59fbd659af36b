// CHMAC_SHA1 with fuzzer-chosen keys (0 to 200 bytes) and messages against OpenSSL's HMAC.

#include <fuzzer/FuzzedDataProvider.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "crypto/hmac_sha1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    FuzzedDataProvider provider(pbData, cbData);
    const auto cbKey = provider.ConsumeIntegralInRange<std::size_t>(0, 200);
    const std::vector<std::uint8_t> byKey = provider.ConsumeBytes<std::uint8_t>(cbKey);
    // The result array comes in with whatever size and bytes the fuzzer picks.
    const auto cbStale = provider.ConsumeIntegralInRange<std::size_t>(0, 40);
    const std::vector<std::uint8_t> byStale = provider.ConsumeBytes<std::uint8_t>(cbStale);
    const std::vector<std::uint8_t> byMessage = provider.ConsumeRemainingBytes<std::uint8_t>();

    const CHMAC_SHA1 hmac(byKey.data(), static_cast<std::int32_t>(byKey.size()));
    CByteArray baMac;
    baMac.SetSize(static_cast<std::ptrdiff_t>(byStale.size()));
    for (std::size_t i = 0; i < byStale.size(); ++i) {
        baMac.SetAt(static_cast<std::ptrdiff_t>(i), byStale[i]);
    }
    hmac.ComputeMac(byMessage.data(), static_cast<std::uint32_t>(byMessage.size()), baMac);

    // OpenSSL wants a key pointer even for an empty key.
    static const std::uint8_t byNoKey = 0;
    std::uint8_t byTheirs[EVP_MAX_MD_SIZE];
    unsigned int cbTheirs = 0;
    if (HMAC(EVP_sha1(), byKey.empty() ? &byNoKey : byKey.data(), static_cast<int>(byKey.size()),
             byMessage.data(), byMessage.size(), byTheirs, &cbTheirs) == nullptr) {
        std::abort();
    }
    if (cbTheirs != 20 || baMac.GetSize() != 20 ||
        std::memcmp(baMac.GetData(), byTheirs, cbTheirs) != 0) {
        std::abort();
    }

    // The object is only read by ComputeMac: a second call gives the same bytes.
    CByteArray baAgain;
    hmac.ComputeMac(byMessage.data(), static_cast<std::uint32_t>(byMessage.size()), baAgain);
    if (baAgain.GetSize() != 20 || std::memcmp(baAgain.GetData(), byTheirs, 20) != 0) {
        std::abort();
    }
    return 0;
}
