#include "engine/request_url.h"

#include <cstddef>
#include <utility>

#include "engine/decoding.h"

const char g_szKeyPlaceholder[] = "%key%";

namespace {

struct SFound {
    int nCount = 0;
    std::string strRaw;
    std::string strDecoded;
};

// str decoded, each placeholder kept as it stands: "%ke" is no escape, so it cannot be meant
// as one. bPlaceholder is set when there was one.
bool DecodeAroundPlaceholder(const std::string& str, std::string& strDecoded, bool& bPlaceholder) {
    const std::string strPlaceholder = g_szKeyPlaceholder;
    std::string strResult;
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nFound = str.find(strPlaceholder, nStart);
        CString strPart;
        if (!UrlDecode(str.substr(nStart, nFound - nStart), strPart)) {
            return false;
        }
        strResult += strPart.str();
        if (nFound == std::string::npos) {
            break;
        }
        strResult += strPlaceholder;
        bPlaceholder = true;
        nStart = nFound + strPlaceholder.size();
    }
    strDecoded = std::move(strResult);
    return true;
}

} // namespace

bool ReadRequestUrl(const std::string& strUrl, SVerifyRequest& request, std::string& strError) {
    const std::size_t nQuestion = strUrl.find('?');
    if (nQuestion == std::string::npos) {
        strError = "the URL has no query ('?')";
        return false;
    }
    const std::size_t nEnd = strUrl.find('#', nQuestion);
    const std::string strQuery = strUrl.substr(
        nQuestion + 1, nEnd == std::string::npos ? std::string::npos : nEnd - nQuestion - 1);
    SFound timestamp;
    SFound signature;
    SFound operation;
    bool bPlaceholder = false;
    std::size_t nStart = 0;
    while (nStart <= strQuery.size()) {
        std::size_t nAmpersand = strQuery.find('&', nStart);
        if (nAmpersand == std::string::npos) {
            nAmpersand = strQuery.size();
        }
        const std::string strParameter = strQuery.substr(nStart, nAmpersand - nStart);
        nStart = nAmpersand + 1;
        const std::size_t nEquals = strParameter.find('=');
        std::string strName;
        std::string strValue;
        if (!DecodeAroundPlaceholder(strParameter.substr(0, nEquals), strName, bPlaceholder) ||
            (nEquals != std::string::npos &&
             !DecodeAroundPlaceholder(strParameter.substr(nEquals + 1), strValue, bPlaceholder))) {
            strError = "the URL's query holds a broken percent escape in '" + strParameter + "'";
            return false;
        }
        SFound* pFound = strName == "Timestamp"   ? &timestamp
                         : strName == "Signature" ? &signature
                         : strName == "Operation" ? &operation
                                                  : nullptr;
        if (pFound != nullptr) {
            ++pFound->nCount;
            pFound->strRaw = nEquals == std::string::npos ? "" : strParameter.substr(nEquals + 1);
            pFound->strDecoded = strValue;
        }
    }
    for (const auto& [pszName, pFound] :
         {std::make_pair("Timestamp", &timestamp), std::make_pair("Signature", &signature)}) {
        if (pFound->nCount != 1) {
            strError = std::string("the URL's query has ") +
                       (pFound->nCount == 0 ? "no " : "more than one ") + pszName;
            return false;
        }
    }
    request.strTimestamp = timestamp.strDecoded;
    request.strSignature = signature.strRaw;
    request.bHaveOperation = operation.nCount == 1;
    request.strOperation = request.bHaveOperation ? operation.strDecoded : "";
    request.bKeyPlaceholder = bPlaceholder;
    return true;
}
