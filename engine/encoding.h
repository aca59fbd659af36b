#pragma once
// Base64 (RFC 4648, standard alphabet, one line) and the two URL encodings: the signature's
// and a query value's.

#include <cstdint>

#include "framework/cstring.h"

extern const char g_szBase64Alphabet[65];
extern const char g_chBase64Pad;

// pbGroup holds three bytes of which the first nCount (1 to 3) are data, the rest 0.
void Base64EncodeGroup(const std::uint8_t* pbGroup, char* pchDest, int nCount);
// pszDest has room for 4 * ceil(dwCount / 3) characters and a NUL.
void Base64EncodeBuffer(const std::uint8_t* pbData, std::uint32_t dwCount, char* pszDest);
CString Base64Encode(const std::uint8_t* pbData, std::uint32_t dwCount);

// Letters and digits stay, the six ASCII white-space characters become "+", every other
// byte "%XX" in upper case. Stops at the first NUL.
CString UrlEncode(CString strInput);
// The same from and into a caller's buffers: pszDest has room for three times the input's
// characters and a NUL. Returns the length written.
int UrlEncodeBuffer(const char* pszInput, char* pszDest);

// A query value such as an Access Key ID: letters, digits and "-._~" stay, every other byte
// of the whole text (white space and NUL too) becomes "%XX" in upper case.
CString PercentEncodeQueryValue(const CString& strValue);
