#pragma once
// The command line of "kestrow-sign verify". The secret never comes from here.

#include <cstdint>
#include <string>

#include "tools/kestrow_sign/sign_error.h"
#include "tools/kestrow_sign/sign_options.h"

struct SVerifyOptions {
    bool bHaveUrl = false;
    std::string strUrl;
    bool bHaveTimestamp = false;
    std::string strTimestamp;
    bool bHaveSignature = false;
    std::string strSignature; // as it came: still URL-encoded
    std::string strPrefix = "UrlInfo";
    bool bHaveNow = false;
    std::string strNow; // as given; parsed later
    std::int64_t nMaxSkew;
    ESignFormat nFormat = SIGN_FORMAT_TEXT;
    bool bHaveSecretKeyFile = false;
    std::string strSecretKeyFile; // "-" is standard input
    bool bHelp = false;

    SVerifyOptions();
};

// argv[1] is "verify". Either --url or both --timestamp and --signature, unless --help.
// On failure error holds SIGN_EXIT_USAGE and a message.
bool ParseVerifyOptions(int argc, const char* const* argv, SVerifyOptions& options,
                        SSignError& error);

// The "verify --help" text, ending in a line break.
std::string VerifyUsage();
