#pragma once
// What every kestrow-sign command does at its edges: report a failure, write the result,
// settle the time it works at.

#include <cstdint>
#include <string>

#include "tools/kestrow_sign/sign_error.h"

// One line "kestrow-sign: …" on standard error, control characters and bytes that are not
// UTF-8 escaped (terminal_text.h); returns the error's status.
int Report(const SSignError& error);

// The whole text on standard output, flushed; false when any of it could not be written.
// On Windows a console gets it in UTF-16, so that every character shows; a file or a pipe
// gets the UTF-8 bytes, as everywhere.
bool WriteAll(const std::string& strText);

// The time given by pszOption (its text in strTime, when bHave) or else the system clock.
// A time that does not parse fails with nBadStatus; so does a clock outside the range.
bool ResolveTime(bool bHave, const std::string& strTime, const char* pszOption,
                 ESignExit nBadStatus, std::int64_t& tNow, SSignError& error);
