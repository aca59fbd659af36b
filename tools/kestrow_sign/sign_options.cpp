#include "tools/kestrow_sign/sign_options.h"

#include <CLI/CLI.hpp>

CLI::Option* AddTextOption(CLI::App& app, const char* pszName, bool& bHave, std::string& strValue,
                           const char* pszText, const char* pszHelp) {
    return app
        .add_option_function<std::string>(
            pszName,
            [&bHave, &strValue](const std::string& strGiven) {
                bHave = true;
                strValue = strGiven;
            },
            pszHelp)
        ->option_text(pszText);
}

void AddFormatOption(CLI::App& app, ESignFormat& nFormat) {
    app.add_option_function<std::string>(
           "--format",
           [&nFormat](const std::string& strValue) {
               nFormat = strValue == "json" ? SIGN_FORMAT_JSON : SIGN_FORMAT_TEXT;
           },
           "output format (default text)")
        ->check(CLI::IsMember({"text", "json"}))
        ->option_text("text|json");
}

void AddSecretKeyFileOption(CLI::App& app, bool& bHave, std::string& strFile) {
    const CLI::Validator named(
        [](const std::string& strValue) {
            return strValue.empty() ? std::string("needs a file name or '-'") : std::string();
        },
        "");
    AddTextOption(app, "--secret-key-file", bHave, strFile, "FILE",
                  "read the secret from FILE, '-' for standard input;\n"
                  "one trailing line break (LF or CR LF) is dropped")
        ->check(named);
}

void AddSignOptions(CLI::App& app, SSignOptions& options) {
    app.description(
        "Signs a Kestrow query request: prints the UTC timestamp, the signature\n"
        "URL-encode(Base64(HMAC-SHA1(secret, prefix + timestamp))) and the sample URL.\n"
        "\"Complete: no\" (in JSON \"complete\": false) means that no --access-key-id was\n"
        "given: the URL still holds the %key% placeholder.\n"
        "\n"
        "The Secret Access Key is read from the environment variable KESTROW_SECRET_KEY,\n"
        "or from --secret-key-file (which wins when both are there); never from the\n"
        "command line.\n");
    app.add_option("--prefix", options.strPrefix,
                   "text signed before the timestamp (default UrlInfo)")
        ->option_text("TEXT");
    app.add_option("--access-key-id", options.strAccessKeyId,
                   "Access Key ID put into the sample URL")
        ->option_text("ID");
    AddTextOption(app, "--time", options.bHaveTime, options.strTime, "WHEN",
                  "sign at WHEN instead of now: YYYY-MM-DDTHH:MM:SSZ\n"
                  "(UTC, an all-zero fraction such as .000 allowed) or\n"
                  "seconds since 1970; 1970-01-01T00:00:00Z to\n"
                  "3000-12-31T23:59:59Z");
    app.add_flag_callback(
        "--no-url-encode", [&options] { options.bUrlEncode = false; },
        "print the plain Base64 signature (the URL keeps\n"
        "the URL-encoded one)");
    AddFormatOption(app, options.nFormat);
    AddSecretKeyFileOption(app, options.bHaveSecretKeyFile, options.strSecretKeyFile);
    app.footer(
        "Exit status: 0 signed; 1 signing or output failed; 2 bad usage; 3 no secret\n"
        "(missing, unreadable or empty); 4 bad time; 5 secret unusable (NUL byte, too long).\n"
        "\n"
        "To check a signed request: kestrow-sign verify --help");
}
