#include "tools/kestrow_sign/verify_command.h"

#include <string>

#include "engine/request_url.h"
#include "tools/kestrow_sign/cli_io.h"
#include "tools/kestrow_sign/secret_reader.h"
#include "tools/kestrow_sign/verify_options.h"
#include "tools/kestrow_sign/verify_output.h"

namespace {

int ExitStatus(EVerifyVerdict nVerdict) {
    switch (nVerdict) {
    case VERIFY_VALID:
        return SIGN_EXIT_OK;
    case VERIFY_SIGNATURE_MISMATCH:
    case VERIFY_MALFORMED_SIGNATURE:
        return SIGN_EXIT_BAD_SIGNATURE;
    default:
        return SIGN_EXIT_BAD_TIMESTAMP;
    }
}

bool HasLineBreak(const std::string& str) {
    return str.find_first_of("\r\n") != std::string::npos;
}

} // namespace

int RunVerify(const SVerifyOptions& options) {
    SSignError error;
    SVerifyRequest request;
    request.strPrefix = options.strPrefix;
    request.nMaxSkew = options.nMaxSkew;
    if (options.bHaveUrl) {
        std::string strReason;
        if (!ReadRequestUrl(options.strUrl, request, strReason)) {
            return Report({SIGN_EXIT_USAGE, strReason});
        }
    } else {
        request.strTimestamp = options.strTimestamp;
        request.strSignature = options.strSignature;
    }
    // Text output is one line per value; only JSON can carry a line break safely.
    if (options.nFormat == SIGN_FORMAT_TEXT &&
        (HasLineBreak(request.strPrefix) || HasLineBreak(request.strTimestamp) ||
         HasLineBreak(request.strSignature) || HasLineBreak(request.strOperation))) {
        return Report(
            {SIGN_EXIT_USAGE, "a value to print holds a line break; use --format json for it"});
    }
    if (!ResolveTime(options.bHaveNow, options.strNow, "--now", SIGN_EXIT_USAGE, request.tNow,
                     error) ||
        !ReadSecretKey(options.bHaveSecretKeyFile, options.strSecretKeyFile, request.strSecretKey,
                       error)) {
        return Report(error);
    }
    const SVerifyReport report = CheckRequest(request);
    std::string strOutput;
    if (options.nFormat == SIGN_FORMAT_TEXT) {
        strOutput = FormatVerifyText(report);
    } else if (!FormatVerifyJson(report, strOutput, error)) {
        return Report(error);
    }
    if (!WriteAll(strOutput)) {
        return Report({SIGN_EXIT_FAILURE, "cannot write to standard output"});
    }
    return ExitStatus(report.result.nVerdict);
}
