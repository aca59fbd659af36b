#include "crypto/sha1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <string>

#include "crypto_test_util.h"
#include "sha1_paths.h"

namespace {

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

// The message in one call, then three times (after Restart, on the same object) in random
// pieces of which about a third are empty.
void ExpectDigest(const char* pszName, const std::string& strText, int nRepeat,
                  const char* pszDigest) {
    std::string strMessage;
    for (int i = 0; i < nRepeat; ++i) {
        strMessage += strText;
    }
    CSHA1 sha;
    sha.AddData(Bytes(strMessage), static_cast<std::uint32_t>(strMessage.size()));
    EXPECT_EQ(Finished(sha), pszDigest) << pszName << ", one call";
    std::mt19937 rng(2026);
    for (int nRound = 0; nRound < 3; ++nRound) {
        sha.Restart();
        for (std::size_t at = 0, n = 0; at < strMessage.size() || n != 0; at += n) {
            n = std::min<std::size_t>(rng() % 3 == 0 ? 0 : rng() % 150, strMessage.size() - at);
            sha.AddData(Bytes(strMessage) + at, static_cast<std::uint32_t>(n));
        }
        EXPECT_EQ(Finished(sha), pszDigest) << pszName << ", split, round " << nRound;
    }
    // Its whole blocks, then the rest on a fresh object restarted from their chaining value.
    const std::size_t cbHead = strMessage.size() / CSHA1::BLOCK_SIZE * CSHA1::BLOCK_SIZE;
    sha.Restart();
    sha.AddData(Bytes(strMessage), static_cast<std::uint32_t>(cbHead));
    std::uint32_t dwState[CSHA1::STATE_WORDS];
    std::uint64_t qwBlocks = 0;
    if (sha.ReadChainingValue(dwState, qwBlocks)) {
        EXPECT_EQ(qwBlocks, cbHead / CSHA1::BLOCK_SIZE) << pszName;
        CSHA1 resumed;
        resumed.RestartFrom(dwState, qwBlocks);
        resumed.AddData(Bytes(strMessage) + cbHead,
                        static_cast<std::uint32_t>(strMessage.size() - cbHead));
        EXPECT_EQ(Finished(resumed), pszDigest) << pszName << ", resumed";
    } else {
        EXPECT_EQ(cbHead, 0u) << pszName << ": whole blocks, yet no chaining value";
    }
}

using Sha1KnownAnswer = CSha1PathTest;
using Sha1Lifecycle = CSha1PathTest;

} // namespace

TEST_P(Sha1KnownAnswer, OneCallRandomSplitsAndRestartsAgree) {
#define SHA1_VECTOR(name, text, repeat, digest)                                                    \
    ExpectDigest(#name, std::string(text, sizeof(text) - 1), repeat, digest);
#include "sha1_vectors.inc"
#undef SHA1_VECTOR
}

TEST_P(Sha1Lifecycle, DigestOutlivesRestartAndFinishWipesTheState) {
    CSHA1 sha;
    sha.AddData(Bytes("abc"), 3);
    EXPECT_EQ(Finished(sha), kAbcDigest);
    // Without Restart it goes on from the wiped state: the compression of a zero block under a
    // zero chaining value. The expected digest came from OpenSSL's SHA1_Transform/SHA1_Update
    // with that chaining value set by hand (through Python's ctypes), cross-checked with a few
    // lines of Python following FIPS 180-1.
    const char* const pszUnrestarted = "db6635bfdbbef09f2c87c157f55dda0f6d91a713";
    sha.AddData(Bytes("abc"), 3);
    EXPECT_EQ(Finished(sha), pszUnrestarted);
    sha.Restart();
    EXPECT_EQ(Copied(sha), pszUnrestarted);
    sha.AddData(Bytes("abc"), 3);
    EXPECT_EQ(Finished(sha), kAbcDigest);
}

TEST_P(Sha1Lifecycle, ChainingValueIsReadOnlyAfterWholeBlocks) {
    using State = std::array<std::uint32_t, CSHA1::STATE_WORDS>;
    const State unread = {1, 2, 3, 4, 5};
    State state = unread;
    std::uint64_t qwBlocks = 6;
    CSHA1 sha;
    EXPECT_FALSE(sha.ReadChainingValue(state.data(), qwBlocks)) << "before the first block";
    sha.AddData(Bytes(std::string(CSHA1::BLOCK_SIZE, 'x')), CSHA1::BLOCK_SIZE);
    sha.AddData(Bytes("abc"), 3);
    EXPECT_FALSE(sha.ReadChainingValue(state.data(), qwBlocks)) << "with bytes pending";
    sha.Finish();
    EXPECT_FALSE(sha.ReadChainingValue(state.data(), qwBlocks)) << "finished";
    EXPECT_EQ(state, unread);
    EXPECT_EQ(qwBlocks, 6u);
}

// Zero bytes fed as a first piece and then pieces of at most dwPiece bytes. calloc leaves the
// pages of a large block unwritten, so even a 512 MiB piece costs little memory.
void ExpectZerosDigest(std::uint64_t qwTotal, std::uint32_t dwFirst, std::uint32_t dwPiece,
                       const char* pszDigest) {
    void* pZeros = std::calloc(std::max(dwFirst, dwPiece), 1);
    ASSERT_NE(pZeros, nullptr);
    CSHA1 sha;
    for (std::uint64_t at = 0, n = dwFirst; at < qwTotal; at += n, n = dwPiece) {
        n = std::min<std::uint64_t>(n, qwTotal - at);
        sha.AddData(static_cast<const std::uint8_t*>(pZeros), static_cast<std::uint32_t>(n));
    }
    std::free(pZeros);
    // After whole blocks, a hash restarted from the chaining value counts them too.
    std::uint32_t adwState[CSHA1::STATE_WORDS] = {};
    std::uint64_t qwBlocks = 0;
    ASSERT_EQ(sha.ReadChainingValue(adwState, qwBlocks), qwTotal % CSHA1::BLOCK_SIZE == 0);
    CSHA1 resumed;
    resumed.RestartFrom(adwState, qwBlocks);
    EXPECT_TRUE(qwTotal % CSHA1::BLOCK_SIZE != 0 || Finished(resumed) == pszDigest);
    EXPECT_EQ(Finished(sha), pszDigest) << qwTotal << " bytes";
}

// Expected values: head -c N /dev/zero | sha1sum, cross-checked with Python's hashlib. The
// count is kept apart from the compression, so one path (the default) is enough.
TEST(Sha1BitCount, WrapsIntoTheHighHalfAtTwoToThe29Bytes) {
    // 2^29 bytes in one call: 2^32 bits go to the high half alone.
    ExpectZerosDigest(1u << 29, 1u << 29, 0, "5b088492c9f4778f409b7ae61477dec124c99033");
    // The low half overflows inside one of many 1 MiB calls.
    ExpectZerosDigest((1u << 29) + 2000, 1000, 1u << 20,
                      "2925d85762d6fccdd1fe0ea7335e6d6b4f6ad923");
}

KESTROW_ON_BOTH_SHA1_PATHS(Sha1KnownAnswer);
KESTROW_ON_BOTH_SHA1_PATHS(Sha1Lifecycle);
