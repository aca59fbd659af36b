#include "tools/kestrow_sign/sign_options.h"

#include <cstring>
#include <set>

namespace {

enum EOptionKind { OPTION_FLAG, OPTION_VALUE };

struct SOptionSpec {
    const char* pszName;
    EOptionKind nKind;
};

const SOptionSpec g_options[] = {
    {"--prefix", OPTION_VALUE}, {"--access-key-id", OPTION_VALUE},
    {"--time", OPTION_VALUE},   {"--no-url-encode", OPTION_FLAG},
    {"--format", OPTION_VALUE}, {"--secret-key-file", OPTION_VALUE},
    {"--help", OPTION_FLAG},    {"--version", OPTION_FLAG},
};

const SOptionSpec* FindOption(const std::string& strName) {
    for (const SOptionSpec& entry : g_options) {
        if (strName == entry.pszName) {
            return &entry;
        }
    }
    return nullptr;
}

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
        if (strValue == "text") {
            options.nFormat = SIGN_FORMAT_TEXT;
        } else if (strValue == "json") {
            options.nFormat = SIGN_FORMAT_JSON;
        } else {
            return Fail(error, SIGN_EXIT_USAGE,
                        "--format takes 'text' or 'json', not '" + strValue + "'");
        }
    } else if (strName == "--secret-key-file") {
        if (strValue.empty()) {
            return Fail(error, SIGN_EXIT_USAGE, "--secret-key-file needs a file name or '-'");
        }
        options.bHaveSecretKeyFile = true;
        options.strSecretKeyFile = strValue;
    } else if (strName == "--help") {
        options.bHelp = true;
    } else {
        options.bVersion = true;
    }
    return true;
}

} // namespace

bool ParseSignOptions(int argc, const char* const* argv, SSignOptions& options, SSignError& error) {
    SSignOptions parsed;
    std::set<std::string> seen;
    const std::string strTry = " (try --help)";
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        if (strArg.compare(0, 2, "--") != 0 || strArg.size() == 2) {
            return Fail(error, SIGN_EXIT_USAGE, "unexpected argument '" + strArg + "'" + strTry);
        }
        const std::size_t nEquals = strArg.find('=');
        const std::string strName = strArg.substr(0, nEquals);
        const SOptionSpec* pSpec = FindOption(strName);
        if (pSpec == nullptr) {
            return Fail(error, SIGN_EXIT_USAGE, "unknown option '" + strName + "'" + strTry);
        }
        if (!seen.insert(strName).second) {
            return Fail(error, SIGN_EXIT_USAGE, strName + " is given more than once");
        }
        std::string strValue;
        if (pSpec->nKind == OPTION_FLAG) {
            if (nEquals != std::string::npos) {
                return Fail(error, SIGN_EXIT_USAGE, strName + " takes no value");
            }
        } else if (nEquals != std::string::npos) {
            strValue = strArg.substr(nEquals + 1);
        } else if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
            strValue = argv[++i];
        } else {
            return Fail(error, SIGN_EXIT_USAGE, strName + " needs a value" + strTry);
        }
        if (!Apply(strName, strValue, parsed, error)) {
            return false;
        }
    }
    options = parsed;
    return true;
}

std::string SignUsage() {
    return "Usage: kestrow-sign [OPTIONS]\n"
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
