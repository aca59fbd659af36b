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

    SVerifyOptions();
};

// The verify options and help texts on the subcommand app; parsing fills options.
void AddVerifyOptions(CLI::App& app, SVerifyOptions& options);

// Either --url or both --timestamp and --signature; on failure SIGN_EXIT_USAGE.
bool CheckVerifyOptions(const SVerifyOptions& options, SSignError& error);
