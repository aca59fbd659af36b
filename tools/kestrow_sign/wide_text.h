#pragma once
// kestrow-sign's text at the Windows boundary: UTF-16 there, UTF-8 inside.

#include <cstddef>
#include <string>

// False, with str untouched, for text that is not Unicode (an unpaired surrogate).
bool WideToUtf8(const wchar_t* pch, std::size_t nLength, std::string& str);

// False, with wstr untouched, for text that is not UTF-8.
bool Utf8ToWide(const std::string& str, std::wstring& wstr);
