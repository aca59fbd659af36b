#include "tools/kestrow_sign/sign_output.h"

#include "tools/kestrow_sign/json_string.h"

std::string FormatSignText(const SSignResult& result) {
    return "Timestamp: " + result.strTimestamp + "\nSignature: " + result.strSignature +
           "\nSample URL: " + result.strSampleUrl +
           "\nComplete: " + (result.bComplete ? "yes" : "no") + "\n";
}

std::string FormatSignJson(const SSignResult& result) {
    return "{\"timestamp\":" + JsonQuote(result.strTimestamp) +
           ",\"signature\":" + JsonQuote(result.strSignature) +
           ",\"sampleUrl\":" + JsonQuote(result.strSampleUrl) +
           ",\"complete\":" + (result.bComplete ? "true" : "false") + "}\n";
}
