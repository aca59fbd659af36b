#include "tools/kestrow_sign/verify_options.h"

#include <iterator>

#include "engine/kestrow_verifier.h"
#include "engine/utc_timestamp.h"
#include "tools/kestrow_sign/option_list.h"

namespace {

const SOptionSpec g_options[] = {
    {"--url", OPTION_VALUE},       {"--timestamp", OPTION_VALUE},
    {"--signature", OPTION_VALUE}, {"--prefix", OPTION_VALUE},
    {"--now", OPTION_VALUE},       {"--max-skew", OPTION_VALUE},
    {"--format", OPTION_VALUE},    {"--secret-key-file", OPTION_VALUE},
    {"--help", OPTION_FLAG},
};

// Decimal digits only, up to the whole range of timestamps.
bool ParseMaxSkew(const std::string& strValue, std::int64_t& nMaxSkew, SSignError& error) {
    std::int64_t nValue = 0;
    for (const char ch : strValue) {
        // Past the maximum already: stop before the value could overflow.
        if (nValue > g_tTimestampMax) {
            break;
        }
        nValue = nValue * 10 + (ch - '0');
    }
    if (strValue.empty() || strValue.find_first_not_of("0123456789") != std::string::npos ||
        nValue > g_tTimestampMax) {
        return Fail(error, SIGN_EXIT_USAGE,
                    "--max-skew takes a whole number of seconds from 0 to " +
                        std::to_string(g_tTimestampMax) + ", not '" + strValue + "'");
    }
    nMaxSkew = nValue;
    return true;
}

bool Apply(const std::string& strName, const std::string& strValue, SVerifyOptions& options,
           SSignError& error) {
    if (strName == "--url") {
        options.bHaveUrl = true;
        options.strUrl = strValue;
    } else if (strName == "--timestamp") {
        options.bHaveTimestamp = true;
        options.strTimestamp = strValue;
    } else if (strName == "--signature") {
        options.bHaveSignature = true;
        options.strSignature = strValue;
    } else if (strName == "--prefix") {
        options.strPrefix = strValue;
    } else if (strName == "--now") {
        options.bHaveNow = true;
        options.strNow = strValue;
    } else if (strName == "--max-skew") {
        return ParseMaxSkew(strValue, options.nMaxSkew, error);
    } else if (strName == "--format") {
        return ParseFormat(strValue, options.nFormat, error);
    } else if (strName == "--secret-key-file") {
        options.bHaveSecretKeyFile = true;
        return ParseSecretKeyFile(strValue, options.strSecretKeyFile, error);
    } else {
        options.bHelp = true;
    }
    return true;
}

} // namespace

SVerifyOptions::SVerifyOptions() : nMaxSkew(g_nDefaultMaxSkew) {
}

bool ParseVerifyOptions(int argc, const char* const* argv, SVerifyOptions& options,
                        SSignError& error) {
    SVerifyOptions parsed;
    const FApplyOption apply = [&parsed](const std::string& strName, const std::string& strValue,
                                         SSignError& errorOut) {
        return Apply(strName, strValue, parsed, errorOut);
    };
    if (!ParseOptionList(argc, argv, 2, g_options, std::size(g_options), apply, error)) {
        return false;
    }
    if (!parsed.bHelp) {
        if (parsed.bHaveUrl && (parsed.bHaveTimestamp || parsed.bHaveSignature)) {
            return Fail(error, SIGN_EXIT_USAGE,
                        "--url carries the timestamp and signature; give no --timestamp or "
                        "--signature with it");
        }
        if (!parsed.bHaveUrl && !(parsed.bHaveTimestamp && parsed.bHaveSignature)) {
            return Fail(error, SIGN_EXIT_USAGE,
                        "give --url, or --timestamp and --signature (try --help)");
        }
    }
    options = parsed;
    return true;
}

std::string VerifyUsage() {
    return "Usage: kestrow-sign verify (--url URL | --timestamp TS --signature SIG) [OPTIONS]\n"
           "Checks a signed Kestrow request as the receiving service would: recomputes\n"
           "the signature over the prefix and the timestamp as received, compares it,\n"
           "and checks the timestamp against the clock. Prints the verdict, the string\n"
           "to sign, the expected and received signatures, the skew and hints.\n"
           "\n"
           "The Secret Access Key is read as for signing: from KESTROW_SECRET_KEY or\n"
           "--secret-key-file, never from the command line.\n"
           "\n"
           "Options:\n"
           "  --url URL                the request URL: Timestamp and Signature (and\n"
           "                           Operation, for a hint) come from its query\n"
           "  --timestamp TS           the timestamp as received\n"
           "  --signature SIG          the signature as received (URL-encoded)\n"
           "  --prefix TEXT            text signed before the timestamp (default UrlInfo)\n"
           "  --now WHEN               check at WHEN instead of now, as --time of signing\n"
           "  --max-skew SECONDS       accepted clock skew either way (default 900)\n"
           "  --format text|json       output format (default text)\n"
           "  --secret-key-file FILE   read the secret from FILE, '-' for standard input\n"
           "  --help                   show this text\n"
           "\n"
           "Exit status: 0 valid; 6 signature mismatch or malformed; 7 timestamp malformed\n"
           "or outside the window; 2 bad usage or URL; 3 no secret; 5 secret unusable;\n"
           "1 output failed.\n";
}
