#pragma once
// Text at the platform's wide calls: the framework's UTF-8 CString in UTF-16 and back. Every
// text crosses the Win32 API this way, never in the system's code page, which differs from
// machine to machine and holds few of the world's characters.

#include "framework/utf16_text.h"
#include "framework/win32.h"

// A CString (or UTF-8 literal) for one wide call: CWideText(str) converts, and is wiped.
using CWideText = CUtf16Text<wchar_t>;

// nLength units of pch into rString; FALSE, with rString as it was, when they are not
// Unicode.
BOOL AfxFromWide(LPCWSTR pch, std::size_t nLength, CString& rString);
// The window's whole text; FALSE, with rString as it was, when it is not Unicode.
BOOL AfxGetWindowText(HWND hWnd, CString& rString);
