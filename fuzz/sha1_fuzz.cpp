// CSHA1 fed in fuzzer-chosen pieces, empty ones included, against OpenSSL's one-shot SHA1, on
// each compression path the CPU offers; also resumed from a chaining value read on the way.

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
    // The last chaining value read, and the message length it stands for.
    std::uint32_t dwSaved[CSHA1::STATE_WORDS] = {};
    std::uint64_t qwSavedBlocks = 0;
    std::size_t cbSaved = 0;
    while (provider.remaining_bytes() > 0) {
        const auto cbPiece = provider.ConsumeIntegralInRange<std::size_t>(0, 200);
        const std::vector<std::uint8_t> byPiece = provider.ConsumeBytes<std::uint8_t>(cbPiece);
        sha.AddData(byPiece.data(), static_cast<std::uint32_t>(byPiece.size()));
        byMessage.insert(byMessage.end(), byPiece.begin(), byPiece.end());
        // Readable exactly after whole blocks, at least one.
        const bool bWhole = !byMessage.empty() && byMessage.size() % CSHA1::BLOCK_SIZE == 0;
        if (sha.ReadChainingValue(dwSaved, qwSavedBlocks) != bWhole) {
            std::abort();
        }
        cbSaved = bWhole ? byMessage.size() : cbSaved;
    }
    sha.Finish();
    std::uint8_t byOurs[CSHA1::DIGEST_SIZE];
    sha.CopyDigest(byOurs);

    std::uint8_t byTheirs[SHA_DIGEST_LENGTH];
    SHA1(byMessage.data(), byMessage.size(), byTheirs);
    if (std::memcmp(byOurs, byTheirs, sizeof(byOurs)) != 0) {
        std::abort();
    }

    // A fresh object restarted from the last chaining value read finishes the same message.
    if (cbSaved > 0) {
        CSHA1 resumed;
        resumed.RestartFrom(dwSaved, qwSavedBlocks);
        resumed.AddData(byMessage.data() + cbSaved,
                        static_cast<std::uint32_t>(byMessage.size() - cbSaved));
        resumed.Finish();
        std::uint8_t byResumed[CSHA1::DIGEST_SIZE];
        resumed.CopyDigest(byResumed);
        if (qwSavedBlocks != cbSaved / CSHA1::BLOCK_SIZE ||
            std::memcmp(byResumed, byTheirs, sizeof(byResumed)) != 0) {
            std::abort();
        }
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
