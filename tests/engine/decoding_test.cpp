#include "engine/decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>

#include "engine/digest_compare.h"
#include "engine/encoding.h"
#include "tests/crypto/crypto_test_util.h"

namespace {

// The bytes Base64Decode makes of the text, or "refused".
std::string Decoded(const CString& strText) {
    CByteArray ba;
    if (!Base64Decode(strText, ba)) {
        return "refused";
    }
    return std::string(reinterpret_cast<const char*>(ba.GetData()),
                       static_cast<std::size_t>(ba.GetSize()));
}

// Every byte value once, in order: its Base64 form uses the whole alphabet.
std::string AllBytes() {
    std::string str(256, '\0');
    std::iota(str.begin(), str.end(), '\0');
    return str;
}

} // namespace

TEST(Base64DecodeTest, KnownVectorsAndEveryLengthBack) {
#define BASE64_VECTOR(bytes, text) EXPECT_EQ(Decoded(text), std::string(bytes, sizeof(bytes) - 1));
#include "base64_vectors.inc"
#undef BASE64_VECTOR
    const std::string strAll = AllBytes();
    for (std::uint32_t n = 0; n <= 256; ++n) {
        ASSERT_EQ(Decoded(Base64Encode(Bytes(strAll), n)), strAll.substr(0, n)) << n;
    }
}

TEST(DecodingTest, RefusedTextsLeaveTheResultAlone) {
    const std::pair<const char*, CString> cases[] = {
#define DECODE_REFUSED(url, base64) {url, CString(base64, sizeof(base64) - 1)},
#include "decoding_vectors.inc"
#undef DECODE_REFUSED
    };
    for (const auto& c : cases) {
        CString strResult("kept");
        EXPECT_FALSE(UrlDecode(c.first, strResult)) << c.first;
        EXPECT_EQ(strResult, "kept");
        CByteArray ba;
        ba.SetSize(1);
        EXPECT_FALSE(Base64Decode(c.second, ba)) << c.second.str();
        EXPECT_EQ(ba.GetSize(), 1);
    }
}

TEST(UrlDecodeTest, EscapesInEitherCaseAndPlusAsABlank) {
    const std::pair<const char*, std::string> cases[] = {
        {"%2b%2f%3d%c3%a9", "+/=\xc3\xa9"}, // the encoder's escapes are in upper case
        {"%00x", std::string("\0x", 2)},
        {"%25%2541", "%%41"},
        {"a b/=\xff", "a b/=\xff"},
    };
    for (const auto& c : cases) {
        CString strResult;
        EXPECT_TRUE(UrlDecode(c.first, strResult)) << c.first;
        EXPECT_EQ(strResult.str(), c.second) << c.first;
    }
    // The encoder's output decodes to its input, each white-space character as a blank ("+").
    std::string strAll = AllBytes().substr(1); // the encoder ends at a NUL
    CString strResult;
    ASSERT_TRUE(UrlDecode(UrlEncode(strAll), strResult));
    std::replace_if(
        strAll.begin(), strAll.end(), [](char ch) { return ch >= 9 && ch <= 13; }, ' ');
    EXPECT_EQ(strResult.str(), strAll);
}

// An early exit would leave the later difference out of the result, wherever the first is.
TEST(DigestCompareTest, ReadsEveryByteWhateverTheFirstDifference) {
    std::uint8_t byA[20], byB[20];
    for (int i = 0; i < 20; ++i) {
        byA[i] = static_cast<std::uint8_t>(i * 37 + 5);
    }
    for (int nFirst = 0; nFirst < 20; ++nFirst) {
        for (int nLater = nFirst; nLater < 20; ++nLater) {
            std::copy(byA, byA + 20, byB);
            byB[nFirst] ^= 0x01;
            byB[nLater] ^= 0x80;
            EXPECT_EQ(DigestDifference(byA, byB, 20), 0x81) << nFirst << " " << nLater;
            EXPECT_TRUE(DigestsEqual(byA, byB, static_cast<std::size_t>(nFirst))) << nFirst;
        }
    }
}
