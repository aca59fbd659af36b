#include "bench/openssl_signature.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <ctime>

namespace {

bool IsAlnum(unsigned char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
}

void AppendQueryEscaped(const char* psz, std::string& strOut) {
    static const char kHex[] = "0123456789ABCDEF";
    for (; *psz != '\0'; ++psz) {
        const unsigned char ch = static_cast<unsigned char>(*psz);
        if (IsAlnum(ch)) {
            strOut += static_cast<char>(ch);
        } else if (ch == ' ' || (ch >= '\t' && ch <= '\r')) {
            strOut += '+';
        } else {
            strOut += '%';
            strOut += kHex[ch >> 4];
            strOut += kHex[ch & 15];
        }
    }
}

} // namespace

bool OpenSslSignAt(std::int64_t tNow, const std::string& strKey, const std::string& strPrefix,
                   std::string& strTimestamp, std::string& strSignature) {
    const std::time_t t = static_cast<std::time_t>(tNow);
    std::tm tmUtc{};
    char szTimestamp[128];
    if (gmtime_r(&t, &tmUtc) == nullptr ||
        std::strftime(szTimestamp, sizeof(szTimestamp), "%Y-%m-%dT%H:%M:%S.000Z", &tmUtc) == 0) {
        return false;
    }
    strTimestamp = szTimestamp;

    const std::string strToSign = strPrefix + strTimestamp;
    unsigned char byMac[EVP_MAX_MD_SIZE];
    unsigned int cbMac = 0;
    if (HMAC(EVP_sha1(), strKey.data(), static_cast<int>(strKey.size()),
             reinterpret_cast<const unsigned char*>(strToSign.data()), strToSign.size(), byMac,
             &cbMac) == nullptr) {
        return false;
    }

    unsigned char byBase64[4 * ((EVP_MAX_MD_SIZE + 2) / 3) + 1];
    EVP_EncodeBlock(byBase64, byMac, static_cast<int>(cbMac));

    strSignature.clear();
    AppendQueryEscaped(reinterpret_cast<const char*>(byBase64), strSignature);
    return true;
}
