#include "tools/kestrow_sign/verify_output.h"

#include <nlohmann/json.hpp>

#include "tools/kestrow_sign/json_output.h"
#include "tools/kestrow_sign/terminal_text.h"

std::string FormatVerifyText(const SVerifyReport& report) {
    const SVerifyResult& result = report.result;
    std::string strText =
        std::string("Verdict: ") + VerdictText(result.nVerdict) +
        "\nString to sign: " + EscapeForTerminal(result.strStringToSign.str()) +
        "\nExpected signature: " + result.strExpectedSignature.str() +
        "\nReceived signature: " + EscapeForTerminal(report.strReceivedSignature) + "\nSkew: ";
    strText += result.bTimestampRead
                   ? std::to_string(result.nSkew) +
                         " s (allowed: " + std::to_string(report.nMaxSkew) + " s either way)"
                   : std::string("unknown (malformed timestamp)");
    strText += "\n";
    for (const SVerifyHint& hint : report.hints) {
        strText += "Hint: " + EscapeForTerminal(hint.strText) + "\n";
    }
    return strText;
}

bool FormatVerifyJson(const SVerifyReport& report, std::string& strJson, SSignError& error) {
    const SVerifyResult& result = report.result;
    nlohmann::ordered_json json;
    json["verdict"] = VerdictCode(result.nVerdict);
    json["valid"] = result.nVerdict == VERIFY_VALID;
    json["stringToSign"] = result.strStringToSign.str();
    json["expectedSignature"] = result.strExpectedSignature.str();
    json["receivedSignature"] = report.strReceivedSignature;
    json["skewSeconds"] = result.bTimestampRead ? nlohmann::ordered_json(result.nSkew) : nullptr;
    json["maxSkewSeconds"] = report.nMaxSkew;
    json["hints"] = nlohmann::ordered_json::array();
    for (const SVerifyHint& hint : report.hints) {
        nlohmann::ordered_json item;
        item["code"] = hint.strCode;
        item["text"] = hint.strText;
        json["hints"].push_back(item);
    }
    return WriteJsonLine(json, strJson, error);
}
