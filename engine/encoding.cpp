#include "engine/encoding.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <stdexcept>

const char g_szBase64Alphabet[65] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char g_chBase64Pad = '=';

namespace {

const char g_szHexDigits[] = "0123456789ABCDEF";

// The buffer lengths are ints; a run too long for one is refused rather than truncated.
int CheckedBufferLength(std::uint64_t nLength, const char* pszWhat) {
    if (nLength > static_cast<std::uint64_t>(INT_MAX)) {
        throw std::length_error(pszWhat);
    }
    return static_cast<int>(nLength);
}

// Fixed ASCII classes: the result must not depend on the C locale.
constexpr bool IsAsciiAlnum(int by) {
    return (by >= 'A' && by <= 'Z') || (by >= 'a' && by <= 'z') || (by >= '0' && by <= '9');
}

constexpr bool IsAsciiSpace(int by) {
    return by == ' ' || (by >= 0x09 && by <= 0x0D);
}

// The marks a URL never reserves (RFC 3986), besides letters and digits.
constexpr bool IsUnreservedMark(int by) {
    return by == '-' || by == '.' || by == '_' || by == '~';
}

// What an encoder writes for each byte value, looked up rather than tested range by range.
enum EUrlClass : std::uint8_t { URL_ESCAPE, URL_KEEP, URL_PLUS };

struct SUrlClasses {
    EUrlClass e[256];
};

// The signature's encoding writes white space as "+" and escapes the marks; a query value's
// keeps the marks and escapes everything else.
constexpr SUrlClasses MakeUrlClasses(bool bQueryValue) {
    SUrlClasses classes{};
    for (int by = 0; by < 256; ++by) {
        classes.e[by] = IsAsciiAlnum(by) || (bQueryValue && IsUnreservedMark(by)) ? URL_KEEP
                        : !bQueryValue && IsAsciiSpace(by)                        ? URL_PLUS
                                                                                  : URL_ESCAPE;
    }
    return classes;
}

constexpr SUrlClasses g_signatureClasses = MakeUrlClasses(false);
constexpr SUrlClasses g_queryValueClasses = MakeUrlClasses(true);

// cchInput bytes into pszDest, which has room for three times as many and a NUL. Returns the
// length written.
int EncodeBytes(const char* pchInput, std::size_t cchInput, const SUrlClasses& classes,
                char* pszDest) {
    char* pch = pszDest;
    for (std::size_t i = 0; i < cchInput; ++i) {
        const auto by = static_cast<std::uint8_t>(pchInput[i]);
        const EUrlClass eClass = classes.e[by];
        if (eClass == URL_KEEP) {
            *pch++ = pchInput[i];
        } else if (eClass == URL_ESCAPE) {
            *pch++ = '%';
            *pch++ = g_szHexDigits[by >> 4];
            *pch++ = g_szHexDigits[by & 0x0F];
        } else {
            *pch++ = '+';
        }
    }
    *pch = '\0';
    return static_cast<int>(pch - pszDest);
}

CString EncodeToString(const char* pchInput, std::size_t cchInput, const SUrlClasses& classes,
                       const char* pszTooLong) {
    const int nReserve = CheckedBufferLength(std::uint64_t{cchInput} * 3 + 1, pszTooLong);
    CString strResult;
    const int nLength = EncodeBytes(pchInput, cchInput, classes, strResult.GetBuffer(nReserve));
    strResult.ReleaseBuffer(nLength);
    return strResult;
}

} // namespace

void Base64EncodeGroup(const std::uint8_t* pbGroup, char* pchDest, int nCount) {
    if (pbGroup == nullptr || pchDest == nullptr) {
        throw std::invalid_argument("Base64EncodeGroup: no group or no destination");
    }
    if (nCount < 1 || nCount > 3) {
        throw std::invalid_argument("Base64EncodeGroup: count must be 1 to 3");
    }
    const unsigned b0 = pbGroup[0];
    const unsigned b1 = pbGroup[1];
    const unsigned b2 = pbGroup[2];
    pchDest[0] = g_szBase64Alphabet[b0 >> 2];
    pchDest[1] = g_szBase64Alphabet[((b0 & 0x03u) << 4) | (b1 >> 4)];
    pchDest[2] = nCount == 1 ? g_chBase64Pad : g_szBase64Alphabet[((b1 & 0x0Fu) << 2) | (b2 >> 6)];
    pchDest[3] = nCount < 3 ? g_chBase64Pad : g_szBase64Alphabet[b2 & 0x3Fu];
}

void Base64EncodeBuffer(const std::uint8_t* pbData, std::uint32_t dwCount, char* pszDest) {
    if (pszDest == nullptr) {
        throw std::invalid_argument("Base64EncodeBuffer: no destination");
    }
    if (pbData == nullptr && dwCount > 0) {
        throw std::invalid_argument("Base64EncodeBuffer: no data for a non-zero count");
    }
    // A whole group is three bytes of the data as they stand; only a short last one is copied
    // into a zero-filled group.
    std::uint32_t dwLeft = dwCount;
    for (; dwLeft >= 3; dwLeft -= 3) {
        Base64EncodeGroup(pbData, pszDest, 3);
        pbData += 3;
        pszDest += 4;
    }
    if (dwLeft > 0) {
        std::uint8_t byGroup[3] = {0, 0, 0};
        for (std::uint32_t i = 0; i < dwLeft; ++i) {
            byGroup[i] = pbData[i];
        }
        Base64EncodeGroup(byGroup, pszDest, static_cast<int>(dwLeft));
        pszDest += 4;
    }
    *pszDest = '\0';
}

CString Base64Encode(const std::uint8_t* pbData, std::uint32_t dwCount) {
    if (pbData == nullptr && dwCount > 0) {
        throw std::invalid_argument("Base64Encode: no data for a non-zero count");
    }
    // count / 3 * 4 + 4 covers the padded last group without a division that rounds up.
    const int nReserve = CheckedBufferLength(std::uint64_t{dwCount} / 3 * 4 + 4,
                                             "Base64Encode: input too long for one text");
    CString strResult;
    Base64EncodeBuffer(pbData, dwCount, strResult.GetBuffer(nReserve));
    strResult.ReleaseBuffer();
    return strResult;
}

CString UrlEncode(CString strInput) {
    return EncodeToString(strInput.GetString(), std::strlen(strInput.GetString()),
                          g_signatureClasses, "UrlEncode: input too long for one text");
}

int UrlEncodeBuffer(const char* pszInput, char* pszDest) {
    if (pszInput == nullptr || pszDest == nullptr) {
        throw std::invalid_argument("UrlEncodeBuffer: no input or no destination");
    }
    return EncodeBytes(pszInput, std::strlen(pszInput), g_signatureClasses, pszDest);
}

CString PercentEncodeQueryValue(const CString& strValue) {
    return EncodeToString(strValue.str().data(), strValue.str().size(), g_queryValueClasses,
                          "PercentEncodeQueryValue: input too long for one text");
}
