#pragma once
// Builds the command line that opens a URL with the command registered for web
// pages. Pure and portable: no registry, no process start.

#include <cstddef>

// Answers whether a byte starts a double-byte character in the code page that
// the command text is written in.
using LeadBytePredicate = bool (*)(unsigned char);

// Cuts pszRegisteredCommand at its URL placeholder and appends one space and
// pszUrl (unquoted) to it, writing the zero-terminated result into pszOut.
//
// The cut: the command ends where the first "\"%1\"" begins (its opening quote
// goes with it); without one, where the first bare "%1" begins; without either,
// the whole command stays. Everything after the placeholder is dropped. The
// searches only match at character boundaries: a byte for which pfnIsLeadByte
// answers true starts a two-byte character, and no match starts at its second
// byte. nullptr means a single-byte code page.
//
// Returns true when the cut command, the space, the URL and the terminating zero
// fit in cbOut bytes. Otherwise, and for null text arguments, returns false,
// never writes a partial command line and leaves pszOut an empty string when
// cbOut > 0. Nothing is ever written at or past pszOut + cbOut.
//
// pszOut may be the buffer that holds pszRegisteredCommand (the cut then happens
// in place); pszUrl must not overlap pszOut.
bool MakeLaunchCommandLine(const char* pszRegisteredCommand, const char* pszUrl, char* pszOut,
                           std::size_t cbOut, LeadBytePredicate pfnIsLeadByte = nullptr);
