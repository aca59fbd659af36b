// kestrow-sign: the Kestrow signing engine on the command line.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "engine/utc_timestamp.h"
#include "tools/kestrow_sign/secret_reader.h"
#include "tools/kestrow_sign/sign_error.h"
#include "tools/kestrow_sign/sign_options.h"
#include "tools/kestrow_sign/sign_output.h"
#include "tools/kestrow_sign/sign_request.h"
#include "tools/kestrow_sign/utc_time_parse.h"

#ifndef KESTROW_VERSION
#define KESTROW_VERSION "unknown"
#endif

namespace {

// One line on standard error, whatever bytes the user's input put into the message.
int Report(const SSignError& error) {
    std::string strLine = "kestrow-sign: ";
    for (const char ch : error.strMessage) {
        const auto by = static_cast<unsigned char>(ch);
        strLine += by < 0x20 || by == 0x7F ? '?' : ch;
    }
    strLine += '\n';
    std::fputs(strLine.c_str(), stderr);
    return error.nStatus;
}

bool WriteAll(const std::string& strText) {
    return std::fwrite(strText.data(), 1, strText.size(), stdout) == strText.size() &&
           std::fflush(stdout) == 0;
}

bool ResolveTime(const SSignOptions& options, std::int64_t& tNow, SSignError& error) {
    if (options.bHaveTime) {
        std::string strError;
        return ParseUtcTime(options.strTime, tNow, strError) ||
               Fail(error, SIGN_EXIT_BAD_TIME, strError);
    }
    const std::time_t tClock = std::time(nullptr);
    const auto t = static_cast<std::int64_t>(tClock);
    if (tClock == static_cast<std::time_t>(-1) || t < g_tTimestampMin || t > g_tTimestampMax) {
        return Fail(error, SIGN_EXIT_BAD_TIME,
                    "the system clock gives no time between 1970 and 3000; use --time");
    }
    tNow = t;
    return true;
}

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
    if (!ResolveTime(options, tNow, error)) {
        return Report(error);
    }
    std::string strSecretKey;
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
    return Run(argc, argv);
}
