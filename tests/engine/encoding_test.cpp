#include "engine/encoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
CString B64(const std::string& str) {
    return Base64Encode(reinterpret_cast<const std::uint8_t*>(str.data()),
                        static_cast<std::uint32_t>(str.size()));
}
} // namespace

// RFC 4648 section 10; the others from python3 base64.b64encode(b"\xff\xfe\x80") etc.
TEST(Base64EncodeTest, KnownVectorsAndLengths) {
    const char* const pszVectors[][2] = {{"", ""},
                                         {"f", "Zg=="},
                                         {"fo", "Zm8="},
                                         {"foo", "Zm9v"},
                                         {"foob", "Zm9vYg=="},
                                         {"fooba", "Zm9vYmE="},
                                         {"foobar", "Zm9vYmFy"},
                                         {"\xff\xfe\x80", "//6A"},
                                         {"\xfb", "+w=="},
                                         {"\xfb\xff", "+/8="}};
    for (const auto& vector : pszVectors) {
        EXPECT_EQ(B64(vector[0]), vector[1]) << vector[1];
    }
    for (std::uint32_t n = 0; n <= 100; ++n) { // 20 -> 28 with one pad; 100 -> 136, one line
        std::string strExpected;
        for (std::uint32_t i = 0; i < n / 3; ++i) {
            strExpected += "nJyc";
        }
        strExpected += n % 3 == 0 ? "" : n % 3 == 1 ? "nA==" : "nJw=";
        ASSERT_EQ(B64(std::string(n, '\x9c')).str(), strExpected);
    }
}

TEST(Base64EncodeTest, BufferAndArguments) {
    char szBuffer[12] = "xxxxxxxxxxx";
    Base64EncodeBuffer(reinterpret_cast<const std::uint8_t*>("foob"), 4, szBuffer);
    EXPECT_EQ(std::string(szBuffer, sizeof szBuffer), std::string("Zm9vYg==\0xx\0", 12));
    const std::uint8_t by[3] = {1, 2, 3};
    EXPECT_EQ(Base64Encode(nullptr, 0), "");
    EXPECT_THROW(Base64Encode(nullptr, 1), std::invalid_argument);
    EXPECT_THROW(Base64EncodeBuffer(by, 3, nullptr), std::invalid_argument);
    EXPECT_THROW(Base64EncodeGroup(by, szBuffer, 4), std::invalid_argument);
    // Too long for one text: refused before a byte is read.
    EXPECT_THROW(Base64Encode(by, 1610612733u), std::length_error);
}

TEST(UrlEncodeTest, EveryByteFollowsTheFixedClasses) {
    for (int n = 1; n < 256; ++n) {
        char szExpected[4];
        if ((n >= 'A' && n <= 'Z') || (n >= 'a' && n <= 'z') || (n >= '0' && n <= '9')) {
            std::snprintf(szExpected, sizeof szExpected, "%c", n);
        } else {
            std::snprintf(szExpected, sizeof szExpected,
                          n == ' ' || (n >= 9 && n <= 13) ? "+" : "%%%02X", n);
        }
        const char ch = static_cast<char>(n);
        EXPECT_EQ(UrlEncode(CString(&ch, 1)), szExpected) << n;
    }
    EXPECT_EQ(UrlEncode("a+b/c=-._~ \xC3"), "a%2Bb%2Fc%3D%2D%2E%5F%7E+%C3");
    EXPECT_EQ(UrlEncode(CString(std::string(1000, '/'))).GetLength(), 3000);
}

TEST(UrlEncodeTest, StopsAtNulAndLeavesTheInput) {
    const CString strInput("a b\0c", 5);
    EXPECT_EQ(UrlEncode(strInput), "a+b");
    EXPECT_EQ(strInput.str(), std::string("a b\0c", 5));
    EXPECT_EQ(UrlEncode(""), "");
}
