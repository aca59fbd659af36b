#include "tools/kestrow_sign/json_output.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "framework/unicode.h"

namespace {

// The path ("hints[0].text") of the first text in json that is not UTF-8, with a message
// part that points at its first bad byte; false when all of it is UTF-8.
bool FindNonUtf8Text(const nlohmann::ordered_json& json, const std::string& strPath,
                     std::string& strWhere) {
    if (json.is_string()) {
        const std::string& str = json.get_ref<const std::string&>();
        const std::size_t nBad = FindNonUtf8(str.data(), str.size());
        if (nBad == kNotUnicode) {
            return false;
        }
        char szByte[5];
        std::snprintf(szByte, sizeof szByte, "0x%02x",
                      static_cast<unsigned>(static_cast<unsigned char>(str[nBad])));
        strWhere = strPath + " holds a byte that is not UTF-8 (" + szByte + " at offset " +
                   std::to_string(nBad) + ")";
        return true;
    }
    if (!json.is_structured()) {
        return false;
    }
    std::size_t nIndex = 0;
    for (auto item = json.begin(); item != json.end(); ++item, ++nIndex) {
        const std::string strItem = json.is_object()
                                        ? (strPath.empty() ? "" : strPath + ".") + item.key()
                                        : strPath + "[" + std::to_string(nIndex) + "]";
        if (FindNonUtf8Text(*item, strItem, strWhere)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool WriteJsonLine(const nlohmann::ordered_json& json, std::string& strLine, SSignError& error) {
    try {
        strLine = json.dump() + "\n";
        return true;
    } catch (const nlohmann::ordered_json::type_error& typeError) {
        std::string strWhere;
        return Fail(error, SIGN_EXIT_FAILURE,
                    "no JSON output: " +
                        (FindNonUtf8Text(json, "", strWhere) ? strWhere : typeError.what()) +
                        "; JSON carries UTF-8 text only");
    }
}
