#include "tools/kestrow_sign/verify_options.h"

#include <CLI/CLI.hpp>

#include "engine/request_check.h"
#include "engine/utc_timestamp.h"

SVerifyOptions::SVerifyOptions() : nMaxSkew(g_nDefaultMaxSkew) {
}

void AddVerifyOptions(CLI::App& app, SVerifyOptions& options) {
    // The description is also the subcommand's line in the signing help.
    app.description("checks a signed request as the receiving service would");
    AddTextOption(app, "--url", options.bHaveUrl, options.strUrl, "URL",
                  "the request URL: Timestamp and Signature (and\n"
                  "Operation, for a hint) come from its query");
    AddTextOption(app, "--timestamp", options.bHaveTimestamp, options.strTimestamp, "TS",
                  "the timestamp as received");
    AddTextOption(app, "--signature", options.bHaveSignature, options.strSignature, "SIG",
                  "the signature as received (URL-encoded)");
    app.add_option("--prefix", options.strPrefix,
                   "text signed before the timestamp (default UrlInfo)")
        ->option_text("TEXT");
    AddTextOption(app, "--now", options.bHaveNow, options.strNow, "WHEN",
                  "check at WHEN instead of now, as --time of signing");
    const std::string strRange =
        "a whole number of seconds from 0 to " + std::to_string(g_tTimestampMax);
    app.add_option_function<std::string>(
           "--max-skew",
           [&options](const std::string& strValue) { ParseMaxSkew(strValue, options.nMaxSkew); },
           "accepted clock skew either way (default 900)")
        ->check(CLI::Validator(
            [strRange](const std::string& strValue) {
                std::int64_t nIgnored = 0;
                return ParseMaxSkew(strValue, nIgnored)
                           ? std::string()
                           : "takes " + strRange + ", not '" + strValue + "'";
            },
            ""))
        ->option_text("SECONDS");
    AddFormatOption(app, options.nFormat);
    AddSecretKeyFileOption(app, options.bHaveSecretKeyFile, options.strSecretKeyFile);
    app.footer("Recomputes the signature over the prefix and the timestamp as received, compares\n"
               "it, and checks the timestamp against the clock. Prints the verdict, the string to\n"
               "sign, the expected and received signatures, the skew and hints. Give --url, or\n"
               "--timestamp and --signature.\n"
               "\n"
               "The Secret Access Key is read as for signing: from KESTROW_SECRET_KEY or\n"
               "--secret-key-file, never from the command line.\n"
               "\n"
               "Exit status: 0 valid; 6 signature mismatch or malformed; 7 timestamp malformed\n"
               "or outside the window; 2 bad usage or URL; 3 no secret; 5 secret unusable;\n"
               "1 output failed.\n"
               "\n"
               "Example: a request signed at 22:26:06 UTC, checked at 22:26:10 UTC:\n"
               "  kestrow-sign verify --timestamp 2026-12-05T22:26:06.000Z \\\n"
               "      --signature ClcVShun84K%2BqTqvE25mfgEO5bI%3D --now 2026-12-05T22:26:10Z");
}

bool CheckVerifyOptions(const SVerifyOptions& options, SSignError& error) {
    if (options.bHaveUrl && (options.bHaveTimestamp || options.bHaveSignature)) {
        return Fail(error, SIGN_EXIT_USAGE,
                    "--url carries the timestamp and signature; give no --timestamp or "
                    "--signature with it");
    }
    if (!options.bHaveUrl && !(options.bHaveTimestamp && options.bHaveSignature)) {
        return Fail(error, SIGN_EXIT_USAGE,
                    "give --url, or --timestamp and --signature (try --help)");
    }
    return true;
}
