#include "engine/encoding.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "tests/crypto/crypto_test_util.h"

TEST(Base64EncodeTest, KnownVectorsAndLengths) {
#define BASE64_VECTOR(bytes, text)                                                                 \
    EXPECT_EQ(Base64Encode(reinterpret_cast<const std::uint8_t*>(bytes), sizeof(bytes) - 1), text);
#include "base64_vectors.inc"
#undef BASE64_VECTOR
    // Every length to 100 (20 ends in one pad, 100 is longer than any line limit): 0x9c 0x9c
    // 0x9c is "nJyc", and one or two left over end in "nA==" or "nJw=".
    std::string strGroups;
    for (std::uint32_t n = 0; n <= 100; ++n) {
        const char* pszTail = n % 3 == 0 ? "" : n % 3 == 1 ? "nA==" : "nJw=";
        ASSERT_EQ(Base64Encode(Bytes(std::string(n, '\x9c')), n), strGroups + pszTail) << n;
        strGroups += n % 3 == 2 ? "nJyc" : "";
    }
}

TEST(Base64EncodeTest, BufferAndBadArguments) {
    char szBuffer[12] = "xxxxxxxxxxx";
    Base64EncodeBuffer(Bytes("foob"), 4, szBuffer);
    EXPECT_EQ(std::string(szBuffer, sizeof szBuffer), std::string("Zm9vYg==\0xx\0", 12));
    EXPECT_EQ(Base64Encode(nullptr, 0), "");
    EXPECT_THROW(Base64Encode(nullptr, 1), std::invalid_argument);
    EXPECT_THROW(Base64EncodeBuffer(Bytes("foo"), 3, nullptr), std::invalid_argument);
    EXPECT_THROW(Base64EncodeGroup(Bytes("foo"), szBuffer, 4), std::invalid_argument);
    EXPECT_THROW(Base64EncodeGroup(Bytes("foo"), nullptr, 3), std::invalid_argument);
    // Too long for one text: refused before a byte is read.
    EXPECT_THROW(Base64Encode(Bytes("foo"), 1610612733u), std::length_error);
}

// The signature's encoding stops at a NUL; a query value's takes the whole text.
TEST(UrlEncodeTest, EveryByteFollowsTheFixedClassesOfEachEncoding) {
    for (int n = 0; n < 256; ++n) {
        const char ch = static_cast<char>(n);
        char sz[4]; // isalnum and isspace in the "C" locale: exactly the ASCII classes
        std::snprintf(sz, sizeof sz, std::isalnum(n) ? "%c" : std::isspace(n) ? "+" : "%%%02X", n);
        EXPECT_EQ(UrlEncode(CString(&ch, 1)), n == 0 ? "" : sz) << n;
        const bool bKept = std::isalnum(n) || std::string("-._~").find(ch) != std::string::npos;
        std::snprintf(sz, sizeof sz, bKept ? "%c" : "%%%02X", n);
        EXPECT_EQ(PercentEncodeQueryValue(CString(&ch, 1)), sz) << n;
    }
    EXPECT_EQ(UrlEncode(CString("a/b\0c", 5)), "a%2Fb");
    EXPECT_EQ(PercentEncodeQueryValue(CString("A&B=C d\0e", 9)), "A%26B%3DC%20d%00e");
    EXPECT_EQ(UrlEncode(CString(std::string(1000, '/'))).GetLength(), 3000);
}
