// The clipboard under Wine: a text goes on it in UTF-16, and the system gives it in the
// reader's code page to programs that ask for plain text.

#include <gtest/gtest.h>

#include "framework/afx.h"
#include "tests/support/win_test_support.h"

#include <cstring>

namespace {

TEST(ClipboardTest, HoldsTheTextAsUnicodeReplacingWhatWasThere) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"https://www.example.com/a b?c=%41", L"https://www.example.com/a b?c=%41"},
        {kWorldText, L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC \u6E2C\u8A66 \U0001F511"},
        {"", L""},
    };
    for (const auto& [strText, strWide] : cases) {
        ASSERT_TRUE(AfxSetClipboardText(nullptr, strText.c_str()));
        ASSERT_TRUE(::OpenClipboard(nullptr));
        HANDLE hWide = ::GetClipboardData(CF_UNICODETEXT), hAnsi = ::GetClipboardData(CF_TEXT);
        ASSERT_TRUE(hWide != nullptr) << strText;
        EXPECT_EQ(static_cast<const wchar_t*>(::GlobalLock(hWide)), strWide) << strText;
        // With its terminator and nothing after it.
        EXPECT_EQ(::GlobalSize(hWide), 2 * strWide.size() + 2);
        // The plain form is the system's, for ASCII at least the same text.
        EXPECT_TRUE(hAnsi != nullptr && (strText == kWorldText ||
                                         strText == static_cast<const char*>(::GlobalLock(hAnsi))));
        ::GlobalUnlock(hAnsi);
        ::GlobalUnlock(hWide);
        ::CloseClipboard();
    }
}

} // namespace
