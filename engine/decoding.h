#pragma once
// The inverses of the encoders: query values as forms send them, and strict Base64.

#include <cstddef>
#include <cstdint>

#include "framework/byte_array.h"
#include "framework/cstring.h"

// "%XX" (hex digits in either case) becomes that byte and "+" a blank; every other byte
// stays. False, with strResult untouched, when a "%" is not followed by two hex digits; a
// text too long for a CString length is refused with std::length_error.
bool UrlDecode(const CString& strInput, CString& strResult);
// The same between a caller's buffers: pchDest has room for cchInput characters (no NUL is
// written). On false pchDest may hold a part and cchDest is untouched.
bool UrlDecodeBuffer(const char* pchInput, std::size_t cchInput, char* pchDest,
                     std::size_t& cchDest);

// RFC 4648 base64, strictly: the standard alphabet, the text a whole number of
// four-character groups, padding only to fill the last one, its unused bits zero, and
// nothing else (no blanks, no line breaks). False, with baResult untouched, otherwise.
bool Base64Decode(const CString& strText, CByteArray& baResult);
// The same between a caller's buffers: pbDest has room for cch / 4 * 3 bytes. On false pbDest
// may hold a part and cbDest is untouched.
bool Base64DecodeBuffer(const char* pchText, std::size_t cch, std::uint8_t* pbDest,
                        std::size_t& cbDest);
