#include "framework/unicode.h"

namespace {

bool IsHighSurrogate(char32_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(char32_t ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// The code point that starts at pch[i] and the units it takes; 0 units for an unpaired
// surrogate.
template <class Char16>
std::size_t DecodeUtf16(const Char16* pch, std::size_t nLength, std::size_t i, char32_t& ch) {
    const char32_t chFirst = static_cast<char16_t>(pch[i]);
    if (IsLowSurrogate(chFirst)) {
        return 0;
    }
    if (!IsHighSurrogate(chFirst)) {
        ch = chFirst;
        return 1;
    }
    if (i + 1 >= nLength) {
        return 0;
    }
    const char32_t chSecond = static_cast<char16_t>(pch[i + 1]);
    if (!IsLowSurrogate(chSecond)) {
        return 0;
    }
    ch = 0x10000 + ((chFirst - 0xD800) << 10) + (chSecond - 0xDC00);
    return 2;
}

// The code point that starts at byte i and the bytes it takes, 0 for bytes that are not
// UTF-8. The bounds of each second byte are those that keep out overlong forms, surrogates
// and values past U+10FFFF.
std::size_t DecodeUtf8(const char* pch, std::size_t nLength, std::size_t i, char32_t& ch) {
    const auto byte = [&](std::size_t n) { return static_cast<unsigned char>(pch[i + n]); };
    const unsigned char b0 = byte(0);
    if (b0 < 0x80) {
        ch = b0;
        return 1;
    }
    std::size_t nBytes = 0;
    unsigned char bSecondLow = 0x80;
    unsigned char bSecondHigh = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        nBytes = 2;
        ch = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        nBytes = 3;
        ch = b0 & 0x0Fu;
        if (b0 == 0xE0) {
            bSecondLow = 0xA0;
        } else if (b0 == 0xED) {
            bSecondHigh = 0x9F;
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        nBytes = 4;
        ch = b0 & 0x07u;
        if (b0 == 0xF0) {
            bSecondLow = 0x90;
        } else if (b0 == 0xF4) {
            bSecondHigh = 0x8F;
        }
    } else {
        return 0;
    }
    if (nLength - i < nBytes) {
        return 0;
    }
    for (std::size_t n = 1; n < nBytes; ++n) {
        const unsigned char b = byte(n);
        const unsigned char bLow = n == 1 ? bSecondLow : 0x80;
        const unsigned char bHigh = n == 1 ? bSecondHigh : 0xBF;
        if (b < bLow || b > bHigh) {
            return 0;
        }
        ch = (ch << 6) | (b & 0x3Fu);
    }
    return nBytes;
}

std::size_t Utf8Width(char32_t ch) {
    return ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
}

// Calls visit(ch) for each code point of the text in turn; answers the offset of the first
// unit decode refuses, or kNotUnicode when it refuses none.
template <class Decode, class Visit>
std::size_t WalkCodePoints(std::size_t nLength, Decode decode, Visit visit) {
    char32_t ch = 0;
    for (std::size_t i = 0; i < nLength;) {
        const std::size_t nUnits = decode(i, ch);
        if (nUnits == 0) {
            return i;
        }
        visit(ch);
        i += nUnits;
    }
    return kNotUnicode;
}

template <class Char16> auto Utf16Decoder(const Char16* pch, std::size_t nLength) {
    return [=](std::size_t i, char32_t& ch) { return DecodeUtf16(pch, nLength, i, ch); };
}

auto Utf8Decoder(const char* pch, std::size_t nLength) {
    return [=](std::size_t i, char32_t& ch) { return DecodeUtf8(pch, nLength, i, ch); };
}

} // namespace

// The writers run only over text their measure accepted, so every code point is whole.

template <class Char16>
std::size_t Utf8LengthOfUtf16(const Char16* pch, std::size_t nLength) noexcept {
    std::size_t nBytes = 0;
    const auto count = [&](char32_t ch) { nBytes += Utf8Width(ch); };
    return WalkCodePoints(nLength, Utf16Decoder(pch, nLength), count) == kNotUnicode ? nBytes
                                                                                     : kNotUnicode;
}

template <class Char16>
void Utf16ToUtf8(const Char16* pch, std::size_t nLength, char* pOut) noexcept {
    WalkCodePoints(nLength, Utf16Decoder(pch, nLength), [&](char32_t ch) {
        const std::size_t nWidth = Utf8Width(ch);
        if (nWidth == 1) {
            *pOut++ = static_cast<char>(ch);
            return;
        }
        static const unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        for (std::size_t n = nWidth - 1; n > 0; --n) {
            pOut[n] = static_cast<char>(0x80 | (ch & 0x3F));
            ch >>= 6;
        }
        pOut[0] = static_cast<char>(kLead[nWidth] | ch);
        pOut += nWidth;
    });
}

std::size_t Utf16LengthOfUtf8(const char* pch, std::size_t nLength) noexcept {
    std::size_t nUnits = 0;
    const auto count = [&](char32_t ch) { nUnits += ch >= 0x10000 ? 2 : 1; };
    return WalkCodePoints(nLength, Utf8Decoder(pch, nLength), count) == kNotUnicode ? nUnits
                                                                                    : kNotUnicode;
}

template <class Char16>
void Utf8ToUtf16(const char* pch, std::size_t nLength, Char16* pOut) noexcept {
    WalkCodePoints(nLength, Utf8Decoder(pch, nLength), [&](char32_t ch) {
        if (ch >= 0x10000) {
            ch -= 0x10000;
            *pOut++ = static_cast<Char16>(0xD800 + (ch >> 10));
            *pOut++ = static_cast<Char16>(0xDC00 + (ch & 0x3FF));
        } else {
            *pOut++ = static_cast<Char16>(ch);
        }
    });
}

std::size_t FindNonUtf8(const char* pch, std::size_t nLength) noexcept {
    return WalkCodePoints(nLength, Utf8Decoder(pch, nLength), [](char32_t) {});
}

template std::size_t Utf8LengthOfUtf16(const char16_t*, std::size_t) noexcept;
template void Utf16ToUtf8(const char16_t*, std::size_t, char*) noexcept;
template void Utf8ToUtf16(const char*, std::size_t, char16_t*) noexcept;
#ifdef _WIN32
static_assert(sizeof(wchar_t) == 2, "the wide calls take UTF-16");
template std::size_t Utf8LengthOfUtf16(const wchar_t*, std::size_t) noexcept;
template void Utf16ToUtf8(const wchar_t*, std::size_t, char*) noexcept;
template void Utf8ToUtf16(const char*, std::size_t, wchar_t*) noexcept;
#endif
