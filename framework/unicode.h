#pragma once
// UTF-8, the program's text, and UTF-16, the text of the platform's wide calls, into each
// other. Strict both ways: an unpaired surrogate, or bytes that are not UTF-8 (overlong
// forms, surrogate code points, values past U+10FFFF, a sequence cut short), are refused,
// never replaced, since a replaced character in a secret would sign another secret.
//
// Each direction is two steps, a measure and a write, so that a caller can size its buffer
// once: a buffer that holds a secret is never reallocated, so never left behind unwiped.

#include <cstddef>
#include <string>

// What a measure answers for text that is not Unicode.
inline constexpr std::size_t kNotUnicode = static_cast<std::size_t>(-1);

// Char16 is char16_t everywhere and also wchar_t where it is 16 bits wide (Windows).
// The bytes the UTF-8 form takes, or kNotUnicode.
template <class Char16>
std::size_t Utf8LengthOfUtf16(const Char16* pch, std::size_t nLength) noexcept;
// Writes the UTF-8 form of text the measure accepted; pOut has room for its answer.
template <class Char16>
void Utf16ToUtf8(const Char16* pch, std::size_t nLength, char* pOut) noexcept;

// The 16-bit units the UTF-16 form takes, or kNotUnicode.
std::size_t Utf16LengthOfUtf8(const char* pch, std::size_t nLength) noexcept;
// Writes the UTF-16 form of text the measure accepted; pOut has room for its answer.
template <class Char16>
void Utf8ToUtf16(const char* pch, std::size_t nLength, Char16* pOut) noexcept;

inline bool IsUtf8(const std::string& str) noexcept {
    return Utf16LengthOfUtf8(str.data(), str.size()) != kNotUnicode;
}

// Where the first fault of a text that is not UTF-8 lies (a byte offset), or kNotUnicode
// for UTF-8: for messages that point at it.
std::size_t FindNonUtf8(const char* pch, std::size_t nLength) noexcept;
