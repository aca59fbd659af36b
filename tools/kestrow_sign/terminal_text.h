#pragma once
// Text from a request or a command line, made safe to show on a terminal.

#include <string>

// strText with each control character (U+0000 to U+001F, U+007F to U+009F) and each byte
// that is no part of a UTF-8 character written as \xHH, its bytes in lower-case hex, so that
// nothing in it can move the cursor or rewrite the screen; the rest as it is.
std::string EscapeForTerminal(const std::string& strText);
