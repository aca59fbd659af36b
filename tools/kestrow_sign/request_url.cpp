#include "tools/kestrow_sign/request_url.h"

#include <cstddef>
#include <utility>

#include "engine/decoding.h"

namespace {

struct SFound {
    int nCount = 0;
    std::string strRaw;
    std::string strDecoded;
};

} // namespace

bool ReadRequestUrl(const std::string& strUrl, SRequestUrl& request, SSignError& error) {
    const std::size_t nQuestion = strUrl.find('?');
    if (nQuestion == std::string::npos) {
        return Fail(error, SIGN_EXIT_USAGE, "the URL has no query ('?')");
    }
    const std::size_t nEnd = strUrl.find('#', nQuestion);
    const std::string strQuery = strUrl.substr(
        nQuestion + 1, nEnd == std::string::npos ? std::string::npos : nEnd - nQuestion - 1);
    SFound timestamp;
    SFound signature;
    SFound operation;
    std::size_t nStart = 0;
    while (nStart <= strQuery.size()) {
        std::size_t nAmpersand = strQuery.find('&', nStart);
        if (nAmpersand == std::string::npos) {
            nAmpersand = strQuery.size();
        }
        const std::string strParameter = strQuery.substr(nStart, nAmpersand - nStart);
        nStart = nAmpersand + 1;
        const std::size_t nEquals = strParameter.find('=');
        CString strName;
        CString strValue;
        if (!UrlDecode(strParameter.substr(0, nEquals), strName) ||
            (nEquals != std::string::npos &&
             !UrlDecode(strParameter.substr(nEquals + 1), strValue))) {
            return Fail(error, SIGN_EXIT_USAGE,
                        "the URL's query holds a broken percent escape in '" + strParameter + "'");
        }
        SFound* pFound = strName == "Timestamp"   ? &timestamp
                         : strName == "Signature" ? &signature
                         : strName == "Operation" ? &operation
                                                  : nullptr;
        if (pFound != nullptr) {
            ++pFound->nCount;
            pFound->strRaw = nEquals == std::string::npos ? "" : strParameter.substr(nEquals + 1);
            pFound->strDecoded = strValue.str();
        }
    }
    for (const auto& [pszName, pFound] :
         {std::make_pair("Timestamp", &timestamp), std::make_pair("Signature", &signature)}) {
        if (pFound->nCount != 1) {
            return Fail(error, SIGN_EXIT_USAGE,
                        std::string("the URL's query has ") +
                            (pFound->nCount == 0 ? "no " : "more than one ") + pszName);
        }
    }
    request.strTimestamp = timestamp.strDecoded;
    request.strSignature = signature.strRaw;
    request.bHaveOperation = operation.nCount == 1;
    request.strOperation = request.bHaveOperation ? operation.strDecoded : "";
    return true;
}
