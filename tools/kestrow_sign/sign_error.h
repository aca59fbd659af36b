#pragma once
// Exit statuses of kestrow-sign and the one-line failure it reports with them.

#include <string>
#include <utility>

enum ESignExit : int {
    SIGN_EXIT_OK = 0,
    SIGN_EXIT_FAILURE = 1,    // signing or writing the result failed
    SIGN_EXIT_USAGE = 2,      // unknown option, missing or bad value, stray argument
    SIGN_EXIT_NO_SECRET = 3,  // no secret given, secret file unreadable, secret empty
    SIGN_EXIT_BAD_TIME = 4,   // --time does not parse or lies outside the range
    SIGN_EXIT_BAD_SECRET = 5, // the secret holds a NUL byte or is too long
    // verify only:
    SIGN_EXIT_BAD_SIGNATURE = 6, // the signature does not match or is malformed
    SIGN_EXIT_BAD_TIMESTAMP = 7, // the timestamp is malformed or outside the window
};

struct SSignError {
    ESignExit nStatus = SIGN_EXIT_OK;
    std::string strMessage; // one line, no line break
};

// Fills error and returns false, so that a failing check reads `return Fail(...)`.
inline bool Fail(SSignError& error, ESignExit nStatus, std::string strMessage) {
    error.nStatus = nStatus;
    error.strMessage = std::move(strMessage);
    return false;
}
