// The clipboard under Wine: a text goes on it in the ANSI code page and in UTF-16.

#include <gtest/gtest.h>

#include "framework/afx.h"

#include <cstring>

namespace {

TEST(ClipboardTest, HoldsTheTextInBothFormsReplacingWhatWasThere) {
    ASSERT_EQ(::GetACP(), 1252u) << "the accented case is written for Western code page 1252";
    const std::pair<const char*, std::wstring> cases[] = {
        {"https://www.example.com/a b?c=%41", L"https://www.example.com/a b?c=%41"},
        {"caf\xE9 \x80", L"caf\u00E9 \u20AC"},
        {"", L""},
    };
    for (const auto& [pszText, strWide] : cases) {
        ASSERT_TRUE(AfxSetClipboardText(nullptr, pszText));
        ASSERT_TRUE(::OpenClipboard(nullptr));
        HANDLE hAnsi = ::GetClipboardData(CF_TEXT), hWide = ::GetClipboardData(CF_UNICODETEXT);
        ASSERT_TRUE(hAnsi != nullptr && hWide != nullptr) << pszText;
        EXPECT_STREQ(static_cast<const char*>(::GlobalLock(hAnsi)), pszText);
        EXPECT_EQ(static_cast<const wchar_t*>(::GlobalLock(hWide)), strWide) << pszText;
        // Each with its terminator and nothing after it.
        EXPECT_EQ(::GlobalSize(hAnsi), std::strlen(pszText) + 1);
        EXPECT_EQ(::GlobalSize(hWide), 2 * strWide.size() + 2);
        ::GlobalUnlock(hAnsi);
        ::GlobalUnlock(hWide);
        ::CloseClipboard();
    }
}

} // namespace
