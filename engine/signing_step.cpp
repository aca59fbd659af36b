#include "engine/signing_step.h"

#include <cstring>

#include "crypto/hmac_sha1.h"
#include "engine/encoding.h"

namespace {

// The digest of step.strToSign and its signature text.
void SignStringToSign(const CHMAC_SHA1& hmac, bool bUrlEncode, SSigningStep& step) {
    hmac.ComputeMac(reinterpret_cast<const std::uint8_t*>(step.strToSign.GetString()),
                    static_cast<std::uint32_t>(step.strToSign.GetLength()), step.baDigest);
    char szBase64[g_cchBase64Digest + 1];
    Base64EncodeBuffer(step.baDigest.GetData(), CSHA1::DIGEST_SIZE,
                       bUrlEncode ? szBase64 : step.szSignature);
    step.cchSignature =
        bUrlEncode ? UrlEncodeBuffer(szBase64, step.szSignature) : g_cchBase64Digest;
}

} // namespace

bool SignTimestampAt(const CHMAC_SHA1& hmac, const CString& strPrefix, std::int64_t t,
                     bool bUrlEncode, SSigningStep& step) {
    char szTimestamp[g_cchTimestamp + 1];
    if (FormatUtcTimestampBuffer(t, szTimestamp) == 0) {
        return false;
    }
    step.strToSign = strPrefix;
    step.strToSign += szTimestamp;
    SignStringToSign(hmac, bUrlEncode, step);
    std::memcpy(step.szTimestamp, szTimestamp, sizeof szTimestamp);
    return true;
}

void SignTimestampAsGiven(const CHMAC_SHA1& hmac, const CString& strPrefix,
                          const CString& strTimestamp, bool bUrlEncode, SSigningStep& step) {
    step.strToSign = strPrefix;
    step.strToSign += strTimestamp;
    SignStringToSign(hmac, bUrlEncode, step);
}
