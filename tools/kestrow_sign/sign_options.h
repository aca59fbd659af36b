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

// The grammar of ParseOptionList (option_list.h). On failure error holds SIGN_EXIT_USAGE
// and a message.
bool ParseSignOptions(int argc, const char* const* argv, SSignOptions& options, SSignError& error);

// The --help text, ending in a line break.
std::string SignUsage();

// The values of --format and --secret-key-file, for every command that takes them.
bool ParseFormat(const std::string& strValue, ESignFormat& nFormat, SSignError& error);
bool ParseSecretKeyFile(const std::string& strValue, std::string& strFile, SSignError& error);
