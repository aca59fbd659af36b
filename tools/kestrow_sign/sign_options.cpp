#include "tools/kestrow_sign/sign_options.h"

#include <iterator>

#include "tools/kestrow_sign/option_list.h"

namespace {

const SOptionSpec g_options[] = {
    {"--prefix", OPTION_VALUE}, {"--access-key-id", OPTION_VALUE},
    {"--time", OPTION_VALUE},   {"--no-url-encode", OPTION_FLAG},
    {"--format", OPTION_VALUE}, {"--secret-key-file", OPTION_VALUE},
    {"--help", OPTION_FLAG},    {"--version", OPTION_FLAG},
};

bool Apply(const std::string& strName, const std::string& strValue, SSignOptions& options,
           SSignError& error) {
    if (strName == "--prefix") {
        options.strPrefix = strValue;
    } else if (strName == "--access-key-id") {
        options.strAccessKeyId = strValue;
    } else if (strName == "--time") {
        options.bHaveTime = true;
        options.strTime = strValue;
    } else if (strName == "--no-url-encode") {
        options.bUrlEncode = false;
    } else if (strName == "--format") {
        return ParseFormat(strValue, options.nFormat, error);
    } else if (strName == "--secret-key-file") {
        options.bHaveSecretKeyFile = true;
        return ParseSecretKeyFile(strValue, options.strSecretKeyFile, error);
    } else if (strName == "--help") {
        options.bHelp = true;
    } else {
        options.bVersion = true;
    }
    return true;
}

} // namespace

bool ParseFormat(const std::string& strValue, ESignFormat& nFormat, SSignError& error) {
    if (strValue == "text") {
        nFormat = SIGN_FORMAT_TEXT;
    } else if (strValue == "json") {
        nFormat = SIGN_FORMAT_JSON;
    } else {
        return Fail(error, SIGN_EXIT_USAGE,
                    "--format takes 'text' or 'json', not '" + strValue + "'");
    }
    return true;
}

bool ParseSecretKeyFile(const std::string& strValue, std::string& strFile, SSignError& error) {
    if (strValue.empty()) {
        return Fail(error, SIGN_EXIT_USAGE, "--secret-key-file needs a file name or '-'");
    }
    strFile = strValue;
    return true;
}

bool ParseSignOptions(int argc, const char* const* argv, SSignOptions& options, SSignError& error) {
    SSignOptions parsed;
    const FApplyOption apply = [&parsed](const std::string& strName, const std::string& strValue,
                                         SSignError& errorOut) {
        return Apply(strName, strValue, parsed, errorOut);
    };
    if (!ParseOptionList(argc, argv, 1, g_options, std::size(g_options), apply, error)) {
        return false;
    }
    options = parsed;
    return true;
}

std::string SignUsage() {
    return "Usage: kestrow-sign [OPTIONS]\n"
           "       kestrow-sign verify ... (checks a signed request; see verify --help)\n"
           "Signs a Kestrow query request: prints the UTC timestamp, the signature\n"
           "URL-encode(Base64(HMAC-SHA1(secret, prefix + timestamp))) and the sample URL.\n"
           "\n"
           "The Secret Access Key is read from the environment variable KESTROW_SECRET_KEY,\n"
           "or from --secret-key-file (which wins when both are there); never from the\n"
           "command line.\n"
           "\n"
           "Options:\n"
           "  --prefix TEXT            text signed before the timestamp (default UrlInfo)\n"
           "  --access-key-id ID       Access Key ID put into the sample URL\n"
           "  --time WHEN              sign at WHEN instead of now: YYYY-MM-DDTHH:MM:SSZ\n"
           "                           (UTC, an all-zero fraction such as .000 allowed) or\n"
           "                           seconds since 1970; 1970-01-01T00:00:00Z to\n"
           "                           3000-12-31T23:59:59Z\n"
           "  --no-url-encode          print the plain Base64 signature (the URL keeps the\n"
           "                           URL-encoded one)\n"
           "  --format text|json       output format (default text)\n"
           "  --secret-key-file FILE   read the secret from FILE, '-' for standard input;\n"
           "                           one trailing line break (LF or CR LF) is dropped\n"
           "  --help                   show this text\n"
           "  --version                show the version\n"
           "\n"
           "Exit status: 0 signed; 1 signing or output failed; 2 bad usage; 3 no secret\n"
           "(missing, unreadable or empty); 4 bad time; 5 secret unusable (NUL byte, too long).\n";
}
