#pragma once
// The inverses of the encoders: query values as forms send them, and strict Base64.

#include "framework/byte_array.h"
#include "framework/cstring.h"

// "%XX" (hex digits in either case) becomes that byte and "+" a blank; every other byte
// stays. False, with strResult untouched, when a "%" is not followed by two hex digits; a
// text too long for a CString length is refused with std::length_error.
bool UrlDecode(const CString& strInput, CString& strResult);

// RFC 4648 base64, strictly: the standard alphabet, the text a whole number of
// four-character groups, padding only to fill the last one, its unused bits zero, and
// nothing else (no blanks, no line breaks). False, with baResult untouched, otherwise.
bool Base64Decode(const CString& strText, CByteArray& baResult);
