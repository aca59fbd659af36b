#include "tools/kestrow_sign/json_string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "json_reader.h"

namespace {

std::string ReadBack(const std::string& strJson) {
    SJsonValue value;
    std::string strError;
    EXPECT_TRUE(ParseJson(strJson, value, strError)) << strJson << ": " << strError;
    EXPECT_EQ(value.nKind, SJsonValue::JSON_STRING) << strJson;
    return value.strValue;
}

TEST(JsonQuote, EscapesQuoteBackslashAndControlCharacters) {
    EXPECT_EQ(JsonQuote(""), "\"\"");
    EXPECT_EQ(JsonQuote("a\"b\\c/d"), "\"a\\\"b\\\\c/d\"");
    EXPECT_EQ(JsonQuote("\b\f\n\r\t"), "\"\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(JsonQuote(std::string("x\0y", 3)), "\"x\\u0000y\"");
    EXPECT_EQ(JsonQuote("\x01\x1f\x7f"), "\"\\u0001\\u001f\x7f\"");
    for (int ch = 0; ch < 0x20; ++ch) {
        const std::string strText = "<" + std::string(1, static_cast<char>(ch)) + ">";
        const std::string strJson = JsonQuote(strText);
        for (const char chOut : strJson) {
            ASSERT_GE(static_cast<unsigned char>(chOut), 0x20) << "raw control " << ch;
        }
        EXPECT_EQ(ReadBack(strJson), strText) << ch;
    }
}

TEST(JsonQuote, PassesWellFormedUtf8ThroughUnchanged) {
    const char* const apszUtf8[] = {
        "\xC2\x80",         "caf\xC3\xA9",      "\xDF\xBF",         "\xE0\xA0\x80",
        "\xE2\x82\xAC 5",   "\xED\x9F\xBF",     "\xEE\x80\x80",     "\xEF\xBF\xBF",
        "\xF0\x90\x80\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",
    };
    for (const char* pszText : apszUtf8) {
        EXPECT_EQ(JsonQuote(pszText), "\"" + std::string(pszText) + "\"");
    }
    EXPECT_EQ(JsonQuote("a\xC3\xA9\"\xE2\x82\xAC"), "\"a\xC3\xA9\\\"\xE2\x82\xAC\"");
}

TEST(JsonQuote, WritesEveryByteOutsideWellFormedUtf8AsAnEscape) {
    struct SCase {
        const char* pszText;
        const char* pszJson;
    };
    const SCase cases[] = {
        {"\x80", "\"\\u0080\""}, // lone continuation byte
        {"\xFF", "\"\\u00ff\""}, // never in UTF-8
        {"\xC3", "\"\\u00c3\""}, // cut short at the end
        {"\xC3"
         "A",
         "\"\\u00c3A\""},                                         // cut short by an ASCII byte
        {"\xC0\xAF", "\"\\u00c0\\u00af\""},                       // overlong '/'
        {"\xE0\x80\xAF", "\"\\u00e0\\u0080\\u00af\""},            // overlong, three bytes
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},            // a surrogate
        {"\xF4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\""}, // above U+10FFFF
        {"\xF0\x9F\x98", "\"\\u00f0\\u009f\\u0098\""},            // four-byte form cut short
        {"\xE9t\xE9", "\"\\u00e9t\\u00e9\""},                     // Latin-1 "été"
        {"\xC3\xA9\xFF\xC3\xA9", "\"\xC3\xA9\\u00ff\xC3\xA9\""},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(JsonQuote(c.pszText), c.pszJson);
    }
}

std::uint32_t NextRandom(std::uint32_t& nState) {
    nState ^= nState << 13;
    nState ^= nState >> 17;
    nState ^= nState << 5;
    return nState;
}

TEST(JsonQuote, AnyBytesGiveValidJsonAndTextRoundTrips) {
    const char* const apszPieces[] = {"a",
                                      "Z",
                                      "\"",
                                      "\\",
                                      "/",
                                      "\n",
                                      "\x01",
                                      "\x1f",
                                      "\x7f",
                                      "%key%",
                                      "\xC3\xA9",
                                      "\xE2\x82\xAC",
                                      "\xF0\x9F\x98\x80"};
    std::uint32_t nState = 2463534242u;
    for (int nRound = 0; nRound < 2000; ++nRound) {
        std::string strText;
        std::string strBytes;
        const std::uint32_t nLength = NextRandom(nState) % 24;
        for (std::uint32_t i = 0; i < nLength; ++i) {
            strText += apszPieces[NextRandom(nState) % (sizeof apszPieces / sizeof *apszPieces)];
            strBytes += static_cast<char>(NextRandom(nState) & 0xFF);
        }
        ASSERT_EQ(ReadBack(JsonQuote(strText)), strText);
        // Arbitrary bytes: still one valid JSON string, never longer than six per byte.
        const std::string strJson = JsonQuote(strBytes);
        SJsonValue value;
        std::string strError;
        ASSERT_TRUE(ParseJson(strJson, value, strError)) << strError;
        ASSERT_LE(strJson.size(), strBytes.size() * 6 + 2);
    }
}

} // namespace

// The checks above lean on the reader's strictness: it must refuse what is not JSON.
TEST(JsonReader, RefusesWhatIsNotStrictJson) {
    const char* const apszBad[] = {
        "\"a\nb\"",
        "\"\xFF\"",
        "\"\xC0\xAF\"",
        "\"\xED\xA0\x80\"",
        "\"\\ud800\"",
        "\"\\udc00x\"",
        "\"\\x41\"",
        "\"\\u12g4\"",
        "\"abc",
        "\"a\" x",
        "{\"a\":true,}",
        "{\"a\":1}",
        "{\"a\" true}",
        "{'a':true}",
        "True",
        "",
        "{\"a\":true,\"a\":false}",
    };
    for (const char* pszBad : apszBad) {
        SJsonValue value;
        std::string strError;
        EXPECT_FALSE(ParseJson(pszBad, value, strError)) << pszBad;
    }
    SJsonValue value;
    std::string strError;
    ASSERT_TRUE(
        ParseJson(" {\"a\" : \"\\ud83d\\ude00\\u00e9\\/\" , \"b\":false}\r\n", value, strError))
        << strError;
    EXPECT_EQ(value.members["a"].strValue, "\xF0\x9F\x98\x80\xC3\xA9/");
    EXPECT_FALSE(value.members["b"].bValue);
}
