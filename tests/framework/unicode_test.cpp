#include "framework/unicode.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string ToUtf8(const std::u16string& str) {
    const std::size_t nBytes = Utf8LengthOfUtf16(str.data(), str.size());
    if (nBytes == kNotUnicode) {
        return "<refused>";
    }
    std::string strOut(nBytes, '\0');
    Utf16ToUtf8(str.data(), str.size(), strOut.data());
    return strOut;
}

std::u16string ToUtf16(const std::string& str) {
    const std::size_t nUnits = Utf16LengthOfUtf8(str.data(), str.size());
    if (nUnits == kNotUnicode) {
        return u"<refused>";
    }
    std::u16string strOut(nUnits, u'\0');
    Utf8ToUtf16(str.data(), str.size(), strOut.data());
    return strOut;
}

// Each pair written out by hand from the code points, both ways: the edges of every UTF-8
// length, the last code point before the surrogates and the first after, and the last of all.
TEST(UnicodeTest, EachLengthAndItsEdgesBothWays) {
    const struct {
        std::u16string strWide;
        std::string strUtf8;
    } cases[] = {
        {u"", ""},
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
        {u"\u007F\u0080", "\x7F\xC2\x80"},
        {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
        {u"\uD7FF\uE000\uFFFF", "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"},
        {u"Gr\u00FC\u00DFe-\u20AC", "Gr\xC3\xBC\xC3\x9F"
                                    "e-\xE2\x82\xAC"},
        {u"\u6E2C\u8A66\u03B1", "\xE6\xB8\xAC\xE8\xA9\xA6\xCE\xB1"},
        {u"\U00010000\U0001F511\U0010FFFF", "\xF0\x90\x80\x80\xF0\x9F\x94\x91\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(c.strWide), c.strUtf8);
        EXPECT_EQ(ToUtf16(c.strUtf8), c.strWide);
        EXPECT_TRUE(IsUtf8(c.strUtf8));
        EXPECT_EQ(FindNonUtf8(c.strUtf8.data(), c.strUtf8.size()), kNotUnicode);
    }
}

TEST(UnicodeTest, AnUnpairedSurrogateIsRefusedWhereverItStands) {
    for (const std::u16string& str :
         {std::u16string(1, char16_t(0xD800)), std::u16string(1, char16_t(0xDFFF)),
          u"ab" + std::u16string(1, char16_t(0xDBFF)), std::u16string{char16_t(0xD83D), u'x'},
          std::u16string{char16_t(0xDD11), char16_t(0xD83D)}}) {
        EXPECT_EQ(Utf8LengthOfUtf16(str.data(), str.size()), kNotUnicode);
    }
}

// Bytes that are not UTF-8 are refused, and the offset of the fault is reported.
TEST(UnicodeTest, BytesThatAreNotUtf8AreRefusedAtTheirOffset) {
    const struct {
        std::string strBytes;
        std::size_t nAt;
    } cases[] = {
        {"\x80", 0},             // a continuation byte alone
        {"ok\xC0\x80", 2},       // overlong NUL
        {"\xC1\xBF", 0},         // overlong U+007F
        {"\xE0\x9F\xBF", 0},     // overlong U+07FF
        {"\xF0\x8F\xBF\xBF", 0}, // overlong U+FFFF
        {"\xED\xA0\x80", 0},     // a surrogate's code point
        {"\xED\xBF\xBF", 0},     // the last surrogate
        {"\xF4\x90\x80\x80", 0}, // past U+10FFFF
        {"\xF5\x80\x80\x80", 0}, // a lead byte no code point has
        {"\xFF", 0},
        {"a\xE6\xB8", 1}, // cut short at the end
        {"\xE6\xB8"
         "a",
         0}, // cut short by an ASCII byte
        {"\xC3\xBC\xC3", 2},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(IsUtf8(c.strBytes)) << testing::PrintToString(c.strBytes);
        EXPECT_EQ(FindNonUtf8(c.strBytes.data(), c.strBytes.size()), c.nAt)
            << testing::PrintToString(c.strBytes);
    }
}

} // namespace
