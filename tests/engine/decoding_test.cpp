#include "engine/decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/digest_compare.h"
#include "engine/encoding.h"
#include "tests/crypto/crypto_test_util.h"

namespace {

std::string Decoded(const CByteArray& ba) {
    return std::string(reinterpret_cast<const char*>(ba.GetData()),
                       static_cast<std::size_t>(ba.GetSize()));
}

std::string PseudoRandomBytes(std::size_t n, std::uint64_t& nState) {
    std::string str;
    for (std::size_t i = 0; i < n; ++i) {
        nState = nState * 6364136223846793005ull + 1442695040888963407ull;
        str += static_cast<char>(nState >> 56);
    }
    return str;
}

} // namespace

TEST(Base64DecodeTest, KnownVectorsAndEveryLengthBack) {
#define BASE64_VECTOR(bytes, text)                                                                 \
    {                                                                                              \
        CByteArray ba;                                                                             \
        EXPECT_TRUE(Base64Decode(text, ba)) << text;                                               \
        EXPECT_EQ(Decoded(ba), std::string(bytes, sizeof(bytes) - 1)) << text;                     \
    }
#include "base64_vectors.inc"
#undef BASE64_VECTOR
    std::uint64_t nState = 7;
    for (std::uint32_t n = 0; n <= 100; ++n) {
        const std::string strBytes = PseudoRandomBytes(n, nState);
        CByteArray ba;
        ASSERT_TRUE(Base64Decode(Base64Encode(Bytes(strBytes), n), ba)) << n;
        ASSERT_EQ(Decoded(ba), strBytes) << n;
    }
}

TEST(DecodingTest, RefusedTextsLeaveTheResultAlone){
#define DECODE_REFUSED(url, base64)                                                                \
    {                                                                                              \
        const char* pszUrl = url;                                                                  \
        CString strResult("kept");                                                                 \
        if (pszUrl != nullptr) {                                                                   \
            EXPECT_FALSE(UrlDecode(pszUrl, strResult)) << pszUrl;                                  \
            EXPECT_EQ(strResult, "kept");                                                          \
        }                                                                                          \
        CByteArray ba;                                                                             \
        ba.SetSize(1);                                                                             \
        EXPECT_FALSE(Base64Decode(CString(base64, sizeof(base64) - 1), ba)) << base64;             \
        EXPECT_EQ(ba.GetSize(), 1);                                                                \
    }
#include "decoding_vectors.inc"
#undef DECODE_REFUSED
}

TEST(UrlDecodeTest, EscapesInEitherCaseAndPlusAsABlank) {
    const struct {
        const char* pszIn;
        std::string strOut;
    } cases[] = {
        {"", ""},
        {"a%2Bb%2Fc%3D", "a+b/c="},
        {"%2b%2f%3d%c3%A9", "+/=\xc3\xa9"},
        {"a+b++", "a b  "},
        {"%00x", std::string("\0x", 2)},
        {"%25%2541", "%%41"},
        {"a b/=\xff", "a b/=\xff"},
    };
    for (const auto& c : cases) {
        CString strResult;
        EXPECT_TRUE(UrlDecode(c.pszIn, strResult)) << c.pszIn;
        EXPECT_EQ(strResult.str(), c.strOut) << c.pszIn;
    }
    // The encoder's output decodes to its input, each white-space character as a blank.
    for (int n = 1; n < 256; ++n) {
        const std::string str(2, static_cast<char>(n));
        CString strResult;
        ASSERT_TRUE(UrlDecode(UrlEncode(str), strResult)) << n;
        EXPECT_EQ(strResult.str(), n == 32 || (n >= 9 && n <= 13) ? "  " : str) << n;
    }
}

// An early exit would leave the second difference out of the result, wherever the first is.
TEST(DigestCompareTest, ReadsEveryByteWhateverTheFirstDifference) {
    std::uint8_t byA[20];
    for (int i = 0; i < 20; ++i) {
        byA[i] = static_cast<std::uint8_t>(i * 37 + 5);
    }
    EXPECT_TRUE(DigestsEqual(byA, byA, 20));
    EXPECT_EQ(DigestDifference(byA, byA, 0), 0);
    for (int nFirst = 0; nFirst < 20; ++nFirst) {
        for (int nLater = nFirst + 1; nLater < 20; ++nLater) {
            std::uint8_t byB[20];
            std::copy(byA, byA + 20, byB);
            byB[nFirst] ^= 0x01;
            byB[nLater] ^= 0x80;
            EXPECT_EQ(DigestDifference(byA, byB, 20), 0x81) << nFirst << " " << nLater;
        }
        std::uint8_t byB[20];
        std::copy(byA, byA + 20, byB);
        byB[nFirst] ^= 0x10;
        EXPECT_FALSE(DigestsEqual(byA, byB, 20)) << nFirst;
        EXPECT_TRUE(DigestsEqual(byA, byB, static_cast<std::size_t>(nFirst)));
    }
}
