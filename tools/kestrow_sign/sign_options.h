#pragma once
// The command line of kestrow-sign. The secret never comes from here.

#include <string>

#include "tools/kestrow_sign/sign_error.h"

enum ESignFormat { SIGN_FORMAT_TEXT, SIGN_FORMAT_JSON };

struct SSignOptions {
    std::string strPrefix = "UrlInfo";
    std::string strAccessKeyId;
    bool bHaveTime = false;
    std::string strTime; // as given; parsed later
    bool bUrlEncode = true;
    ESignFormat nFormat = SIGN_FORMAT_TEXT;
    bool bHaveSecretKeyFile = false;
    std::string strSecretKeyFile; // "-" is standard input
    bool bHelp = false;
    bool bVersion = false;
};

// Options take their value as the next argument or after '=' (--prefix=TEXT). A next
// argument that starts with "--" is taken as a missing value, so that a forgotten value
// does not swallow the following option; such a value is written --prefix=--TEXT.
// Each option may appear once. On failure error holds SIGN_EXIT_USAGE and a message.
bool ParseSignOptions(int argc, const char* const* argv, SSignOptions& options, SSignError& error);

// The --help text, ending in a line break.
std::string SignUsage();
