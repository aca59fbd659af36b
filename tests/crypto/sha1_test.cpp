#include "crypto/sha1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "crypto_test_util.h"

namespace {

struct Sha1Vector {
    const char* szName;
    const char* szText;
    std::size_t nTextLength;
    std::size_t nRepeat;
    const char* szDigest;
};

const Sha1Vector kVectors[] = {
#define SHA1_VECTOR(name, text, repeat, digest) {#name, text, sizeof(text) - 1, repeat, digest},
#include "sha1_vectors.inc"
#undef SHA1_VECTOR
};

const std::string kAbc = "abc";
const char kAbcDigest[] = "a9993e364706816aba3e25717850c26c9cd0d89d";

std::string Copied(const CSHA1& sha) {
    std::uint8_t byDigest[CSHA1::DIGEST_SIZE];
    sha.CopyDigest(byDigest);
    return ToHex(byDigest, sizeof(byDigest));
}

std::string Finished(CSHA1& sha) {
    sha.Finish();
    return Copied(sha);
}

class Sha1KnownAnswer : public ::testing::TestWithParam<Sha1Vector> {};

TEST_P(Sha1KnownAnswer, OneCallRandomSplitsAndRestartsAgree) {
    std::string strMessage;
    for (std::size_t i = 0; i < GetParam().nRepeat; ++i) {
        strMessage.append(GetParam().szText, GetParam().nTextLength);
    }
    CSHA1 sha;
    sha.AddData(Bytes(strMessage), static_cast<std::uint32_t>(strMessage.size()));
    EXPECT_EQ(Finished(sha), GetParam().szDigest) << "one call";

    std::mt19937 rng(2026);
    for (int nRound = 0; nRound < 3; ++nRound) {
        sha.Restart(); // same object, after a finished message
        std::size_t at = 0;
        do { // about a third of the calls are empty
            const std::size_t n =
                std::min<std::size_t>(rng() % 3 == 0 ? 0 : rng() % 150, strMessage.size() - at);
            sha.AddData(Bytes(strMessage) + at, static_cast<std::uint32_t>(n));
            at += n;
        } while (at < strMessage.size());
        EXPECT_EQ(Finished(sha), GetParam().szDigest) << "split, round " << nRound;
    }
}

INSTANTIATE_TEST_SUITE_P(Fips180AndPadding, Sha1KnownAnswer, ::testing::ValuesIn(kVectors),
                         [](const auto& info) { return std::string(info.param.szName); });

TEST(Sha1Lifecycle, DigestOutlivesRestartAndFinishWipesTheState) {
    CSHA1 sha;
    CSHA1 other;
    sha.AddData(Bytes(kAbc), 3);
    other.AddData(Bytes(kAbc), 2);
    EXPECT_EQ(Finished(sha), kAbcDigest);
    Finished(other);
    // Without Restart both go on from the same wiped state, whatever they hashed before.
    sha.AddData(Bytes(kAbc), 3);
    other.AddData(Bytes(kAbc), 3);
    // That state is the compression of a zero block under a zero chaining value; the expected
    // digest came from OpenSSL's SHA1_Transform/SHA1_Update with that chaining value set by hand
    // (through Python's ctypes), cross-checked with a few lines of Python following FIPS 180-1.
    const std::string strUnrestarted = Finished(sha);
    EXPECT_EQ(strUnrestarted, "db6635bfdbbef09f2c87c157f55dda0f6d91a713");
    EXPECT_EQ(Finished(other), strUnrestarted);
    sha.Restart();
    EXPECT_EQ(Copied(sha), strUnrestarted);
    sha.AddData(Bytes(kAbc), 3);
    EXPECT_EQ(Finished(sha), kAbcDigest);
}

// Zero bytes fed as a first piece and then pieces of at most dwPiece bytes. calloc leaves the
// pages of a large block unwritten, so even a 512 MiB piece costs little memory.
std::string HashZeros(std::uint64_t qwTotal, std::uint32_t dwFirst, std::uint32_t dwPiece) {
    const std::unique_ptr<void, void (*)(void*)> zeros(std::calloc(std::max(dwFirst, dwPiece), 1),
                                                       std::free);
    if (!zeros) {
        throw std::bad_alloc();
    }
    CSHA1 sha;
    for (std::uint64_t at = 0, n = dwFirst; at < qwTotal; at += n, n = dwPiece) {
        n = std::min<std::uint64_t>(n, qwTotal - at);
        sha.AddData(static_cast<const std::uint8_t*>(zeros.get()), static_cast<std::uint32_t>(n));
    }
    return Finished(sha);
}

// Expected values: head -c N /dev/zero | sha1sum, cross-checked with Python's hashlib.
TEST(Sha1BitCount, WrapsIntoTheHighHalfAtTwoToThe29Bytes) {
    // 2^29 bytes in one call: 2^32 bits go to the high half alone.
    EXPECT_EQ(HashZeros(1u << 29, 1u << 29, 0), "5b088492c9f4778f409b7ae61477dec124c99033");
    // The low half overflows inside one of many 1 MiB calls.
    EXPECT_EQ(HashZeros((1u << 29) + 2000, 1000, 1u << 20),
              "2925d85762d6fccdd1fe0ea7335e6d6b4f6ad923");
}

} // namespace
