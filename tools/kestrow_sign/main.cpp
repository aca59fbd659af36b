// kestrow-sign: the Kestrow signing engine on the command line.

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/kestrow_sign/cli_io.h"
#include "tools/kestrow_sign/command_line.h"
#include "tools/kestrow_sign/secret_reader.h"
#include "tools/kestrow_sign/sign_error.h"
#include "tools/kestrow_sign/sign_output.h"
#include "tools/kestrow_sign/sign_request.h"
#include "tools/kestrow_sign/verify_command.h"

#if defined(_WIN32)
#include "tools/kestrow_sign/wide_text.h"
#endif

#ifndef KESTROW_VERSION
#define KESTROW_VERSION "unknown"
#endif

namespace {

int Sign(const SSignOptions& options) {
    SSignError error;
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
    std::string strOutput;
    if (options.nFormat == SIGN_FORMAT_TEXT) {
        strOutput = FormatSignText(result);
    } else if (!FormatSignJson(result, strOutput, error)) {
        return Report(error);
    }
    if (!WriteAll(strOutput)) {
        return Report({SIGN_EXIT_FAILURE, "cannot write to standard output"});
    }
    return SIGN_EXIT_OK;
}

int Run(const std::vector<std::string>& args) {
    SCommandLine command;
    SSignError error;
    if (!ParseCommandLine(args, KESTROW_VERSION, command, error)) {
        return Report(error);
    }
    switch (command.nCommand) {
    case COMMAND_SHOW:
        return WriteAll(command.strShow)
                   ? SIGN_EXIT_OK
                   : Report({SIGN_EXIT_FAILURE, "cannot write to standard output"});
    case COMMAND_VERIFY:
        return RunVerify(command.verify);
    default:
        return Sign(command.sign);
    }
}

} // namespace

#if defined(_WIN32)
// The arguments as the system holds them, in UTF-16, whatever its code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i) {
        if (!WideToUtf8(argv[i], std::wcslen(argv[i]), args[static_cast<std::size_t>(i)])) {
            return Report({SIGN_EXIT_USAGE, "argument " + std::to_string(i) +
                                                " is not Unicode text (it holds an unpaired "
                                                "surrogate)"});
        }
    }
    return Run(args);
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv, argv + argc));
}
#endif
