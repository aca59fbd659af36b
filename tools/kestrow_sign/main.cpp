// kestrow-sign: the Kestrow signing engine on the command line.

#include <cstdint>
#include <cstring>
#include <string>

#include "tools/kestrow_sign/cli_io.h"
#include "tools/kestrow_sign/secret_reader.h"
#include "tools/kestrow_sign/sign_error.h"
#include "tools/kestrow_sign/sign_options.h"
#include "tools/kestrow_sign/sign_output.h"
#include "tools/kestrow_sign/sign_request.h"
#include "tools/kestrow_sign/verify_command.h"

#ifndef KESTROW_VERSION
#define KESTROW_VERSION "unknown"
#endif

namespace {

int Run(int argc, const char* const* argv) {
    SSignOptions options;
    SSignError error;
    if (!ParseSignOptions(argc, argv, options, error)) {
        return Report(error);
    }
    if (options.bHelp || options.bVersion) {
        const std::string strText =
            options.bHelp ? SignUsage() : std::string("kestrow-sign " KESTROW_VERSION "\n");
        return WriteAll(strText) ? SIGN_EXIT_OK
                                 : Report({SIGN_EXIT_FAILURE, "cannot write to standard output"});
    }
    // Text output is one line per value; only JSON can carry a line break safely.
    if (options.nFormat == SIGN_FORMAT_TEXT &&
        options.strAccessKeyId.find_first_of("\r\n") != std::string::npos) {
        return Report({SIGN_EXIT_USAGE,
                       "--access-key-id holds a line break; use --format json for such input"});
    }
    std::int64_t tNow = 0;
    if (!ResolveTime(options.bHaveTime, options.strTime, "--time", SIGN_EXIT_BAD_TIME, tNow,
                     error)) {
        return Report(error);
    }
    CString strSecretKey;
    if (!ReadSecretKey(options.bHaveSecretKeyFile, options.strSecretKeyFile, strSecretKey, error)) {
        return Report(error);
    }
    SSignResult result;
    if (!SignRequest(tNow, strSecretKey, options.strAccessKeyId, options.strPrefix,
                     options.bUrlEncode, result)) {
        return Report({SIGN_EXIT_FAILURE, "the engine produced no signature"});
    }
    const std::string strOutput =
        options.nFormat == SIGN_FORMAT_JSON ? FormatSignJson(result) : FormatSignText(result);
    if (!WriteAll(strOutput)) {
        return Report({SIGN_EXIT_FAILURE, "cannot write to standard output"});
    }
    return SIGN_EXIT_OK;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "verify") == 0) {
        return RunVerify(argc, argv);
    }
    return Run(argc, argv);
}
