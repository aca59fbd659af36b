#pragma once
// The command line of kestrow-sign. The secret never comes from here.

#include <string>

namespace CLI {
class App;
class Option;
} // namespace CLI

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
};

// The signing options and help texts on app; parsing fills options.
void AddSignOptions(CLI::App& app, SSignOptions& options);

// A text option whose presence counts: bHave tells whether it was given; pszText names its
// value in the help.
CLI::Option* AddTextOption(CLI::App& app, const char* pszName, bool& bHave, std::string& strValue,
                           const char* pszText, const char* pszHelp);
// --format and --secret-key-file, for every command that takes them.
void AddFormatOption(CLI::App& app, ESignFormat& nFormat);
void AddSecretKeyFileOption(CLI::App& app, bool& bHave, std::string& strFile);
