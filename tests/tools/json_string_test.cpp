#include "tools/kestrow_sign/json_string.h"

#include <gtest/gtest.h>

#include <string>

// That any bytes give valid JSON is checked end to end, by python3's json module, in
// kestrow_sign_cli_test.py; here the exact form of each escape.
TEST(JsonQuote, EscapesWhatJsonNeedsAndPassesOnlyWellFormedUtf8) {
    const struct {
        std::string strText;
        const char* pszJson;
    } cases[] = {
        {"", R"("")"},
        {"a\"b\\c/d", R"("a\"b\\c/d")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        {std::string("x\0y\x01\x1f\x7f", 6), "\"x\\u0000y\\u0001\\u001f\x7f\""},
        // Well-formed UTF-8 at the edges of each sequence length passes through.
        {"\xC2\x80 \xDF\xBF \xE0\xA0\x80 \xED\x9F\xBF \xEE\x80\x80 \xEF\xBF\xBF",
         "\"\xC2\x80 \xDF\xBF \xE0\xA0\x80 \xED\x9F\xBF \xEE\x80\x80 \xEF\xBF\xBF\""},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\"", "\"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\\\"\""},
        // Every other byte becomes the \u escape of its Latin-1 reading.
        {"\x80\xFF", R"("\u0080\u00ff")"}, // continuation, never UTF-8
        {"\xC3"
         "A\xC3",
         R"("\u00c3A\u00c3")"},                                  // cut short
        {"\xC0\xAF", R"("\u00c0\u00af")"},                       // overlong
        {"\xE0\x80\xAF", R"("\u00e0\u0080\u00af")"},             // overlong, three bytes
        {"\xED\xA0\x80", R"("\u00ed\u00a0\u0080")"},             // a surrogate
        {"\xF4\x90\x80\x80", R"("\u00f4\u0090\u0080\u0080")"},   // above U+10FFFF
        {"\xF5\x80\x80\x80", R"("\u00f5\u0080\u0080\u0080")"},   // no lead byte at all
        {"\xF0\x9F\x98", R"("\u00f0\u009f\u0098")"},             // four-byte form cut short
        {"\xC3\xA9\xFF\xC3\xA9", "\"\xC3\xA9\\u00ff\xC3\xA9\""}, // good, bad, good
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonQuote(c.strText), c.pszJson);
    }
}
