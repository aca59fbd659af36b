// CSHA1 fed in fuzzer-chosen pieces, empty ones included, against OpenSSL's one-shot SHA1, on
// each compression path the CPU offers.

#include <fuzzer/FuzzedDataProvider.h>
#include <openssl/sha.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "crypto/sha1.h"
#include "crypto/sha1_path.h"

namespace {

void CheckInput(const std::uint8_t* pbData, std::size_t cbData) {
    FuzzedDataProvider provider(pbData, cbData);
    CSHA1 sha;
    std::vector<std::uint8_t> byMessage;
    while (provider.remaining_bytes() > 0) {
        const auto cbPiece = provider.ConsumeIntegralInRange<std::size_t>(0, 200);
        const std::vector<std::uint8_t> byPiece = provider.ConsumeBytes<std::uint8_t>(cbPiece);
        sha.AddData(byPiece.data(), static_cast<std::uint32_t>(byPiece.size()));
        byMessage.insert(byMessage.end(), byPiece.begin(), byPiece.end());
    }
    sha.Finish();
    std::uint8_t byOurs[CSHA1::DIGEST_SIZE];
    sha.CopyDigest(byOurs);

    std::uint8_t byTheirs[SHA_DIGEST_LENGTH];
    SHA1(byMessage.data(), byMessage.size(), byTheirs);
    if (std::memcmp(byOurs, byTheirs, sizeof(byOurs)) != 0) {
        std::abort();
    }

    // The same object, restarted, hashes the whole message in one call to the same digest,
    // and the digest it held stays readable across the Restart.
    sha.Restart();
    std::uint8_t byKept[CSHA1::DIGEST_SIZE];
    sha.CopyDigest(byKept);
    sha.AddData(byMessage.data(), static_cast<std::uint32_t>(byMessage.size()));
    sha.Finish();
    std::uint8_t byAgain[CSHA1::DIGEST_SIZE];
    sha.CopyDigest(byAgain);
    if (std::memcmp(byKept, byTheirs, sizeof(byKept)) != 0 ||
        std::memcmp(byAgain, byTheirs, sizeof(byAgain)) != 0) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    CheckInput(pbData, cbData);
    if (Sha1ShaExtensionsAvailable()) {
        const CSha1IntegerPathScope integerPath;
        CheckInput(pbData, cbData);
    }
    return 0;
}
