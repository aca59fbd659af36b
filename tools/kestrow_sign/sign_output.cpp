#include "tools/kestrow_sign/sign_output.h"

#include <nlohmann/json.hpp>

#include "tools/kestrow_sign/json_output.h"

std::string FormatSignText(const SSignResult& result) {
    return "Timestamp: " + result.strTimestamp + "\nSignature: " + result.strSignature +
           "\nSample URL: " + result.strSampleUrl +
           "\nComplete: " + (result.bComplete ? "yes" : "no") + "\n";
}

bool FormatSignJson(const SSignResult& result, std::string& strJson, SSignError& error) {
    nlohmann::ordered_json json;
    json["timestamp"] = result.strTimestamp;
    json["signature"] = result.strSignature;
    json["sampleUrl"] = result.strSampleUrl;
    json["complete"] = result.bComplete;
    return WriteJsonLine(json, strJson, error);
}
