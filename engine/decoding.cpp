#include "engine/decoding.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/encoding.h"

namespace {

constexpr std::int8_t NOT_BASE64 = -1;

struct SBase64Values {
    std::int8_t n[256];
};

// The alphabet's inverse, derived from it so that the two cannot drift apart.
const SBase64Values& Base64Values() {
    static const SBase64Values s_values = [] {
        SBase64Values values{};
        for (std::int8_t& n : values.n) {
            n = NOT_BASE64;
        }
        for (int i = 0; i < 64; ++i) {
            values.n[static_cast<std::uint8_t>(g_szBase64Alphabet[i])] =
                static_cast<std::int8_t>(i);
        }
        return values;
    }();
    return s_values;
}

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    return -1;
}

} // namespace

bool UrlDecode(const CString& strInput, CString& strResult) {
    const std::string& strIn = strInput.str();
    if (strIn.size() > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("UrlDecode: input too long for one text");
    }
    CString strDecoded;
    std::size_t cchDecoded = 0;
    if (!UrlDecodeBuffer(strIn.data(), strIn.size(),
                         strDecoded.GetBuffer(static_cast<int>(strIn.size())), cchDecoded)) {
        return false;
    }
    strDecoded.ReleaseBuffer(static_cast<int>(cchDecoded));
    strResult = std::move(strDecoded);
    return true;
}

bool UrlDecodeBuffer(const char* pchInput, std::size_t cchInput, char* pchDest,
                     std::size_t& cchDest) {
    char* pch = pchDest;
    for (std::size_t i = 0; i < cchInput; ++i) {
        const char ch = pchInput[i];
        if (ch == '+') {
            *pch++ = ' ';
        } else if (ch != '%') {
            *pch++ = ch;
        } else {
            const int nHigh = i + 2 < cchInput ? HexValue(pchInput[i + 1]) : -1;
            const int nLow = nHigh >= 0 ? HexValue(pchInput[i + 2]) : -1;
            if (nLow < 0) {
                return false;
            }
            *pch++ = static_cast<char>(nHigh * 16 + nLow);
            i += 2;
        }
    }
    cchDest = static_cast<std::size_t>(pch - pchDest);
    return true;
}

bool Base64Decode(const CString& strText, CByteArray& baResult) {
    const std::string& strIn = strText.str();
    CByteArray baDecoded;
    baDecoded.SetSize(static_cast<std::ptrdiff_t>(strIn.size() / 4 * 3));
    std::size_t cbDecoded = 0;
    if (!Base64DecodeBuffer(strIn.data(), strIn.size(), baDecoded.GetData(), cbDecoded)) {
        return false;
    }
    baDecoded.SetSize(static_cast<std::ptrdiff_t>(cbDecoded));
    baResult = std::move(baDecoded);
    return true;
}

bool Base64DecodeBuffer(const char* pchText, std::size_t cch, std::uint8_t* pbDest,
                        std::size_t& cbDest) {
    if (cch % 4 != 0) {
        return false;
    }
    std::size_t nPad = 0;
    if (cch > 0 && pchText[cch - 1] == g_chBase64Pad) {
        nPad = pchText[cch - 2] == g_chBase64Pad ? 2 : 1;
    }
    const SBase64Values& values = Base64Values();
    const auto valueAt = [&](std::size_t i) {
        return static_cast<std::int32_t>(values.n[static_cast<std::uint8_t>(pchText[i])]);
    };
    std::uint8_t* pbOut = pbDest;
    // Four characters, 24 bits, three bytes at a time; a character outside the alphabet turns
    // the OR of the four values negative.
    const std::size_t cchWhole = cch - (nPad > 0 ? 4 : 0);
    for (std::size_t i = 0; i < cchWhole; i += 4) {
        const std::int32_t n0 = valueAt(i);
        const std::int32_t n1 = valueAt(i + 1);
        const std::int32_t n2 = valueAt(i + 2);
        const std::int32_t n3 = valueAt(i + 3);
        if ((n0 | n1 | n2 | n3) < 0) {
            return false;
        }
        const std::uint32_t dwBits = static_cast<std::uint32_t>(n0 << 18 | n1 << 12 | n2 << 6 | n3);
        *pbOut++ = static_cast<std::uint8_t>(dwBits >> 16);
        *pbOut++ = static_cast<std::uint8_t>(dwBits >> 8);
        *pbOut++ = static_cast<std::uint8_t>(dwBits);
    }
    if (nPad > 0) {
        // The padded group: two characters give one byte, three give two.
        const std::int32_t n0 = valueAt(cchWhole);
        const std::int32_t n1 = valueAt(cchWhole + 1);
        const std::int32_t n2 = nPad == 1 ? valueAt(cchWhole + 2) : 0;
        if ((n0 | n1 | n2) < 0) {
            return false;
        }
        const std::uint32_t dwBits = static_cast<std::uint32_t>(n0 << 18 | n1 << 12 | n2 << 6);
        *pbOut++ = static_cast<std::uint8_t>(dwBits >> 16);
        if (nPad == 1) {
            *pbOut++ = static_cast<std::uint8_t>(dwBits >> 8);
        }
        // The bits after the last whole byte must be zero: another text for the same bytes
        // would pass as well.
        if ((dwBits & (nPad == 1 ? 0xFFu : 0xFFFFu)) != 0) {
            return false;
        }
    }
    cbDest = static_cast<std::size_t>(pbOut - pbDest);
    return true;
}
