#include "engine/kestrow_verifier.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/decoding.h"
#include "engine/digest_compare.h"
#include "engine/signing_step.h"
#include "engine/utc_timestamp.h"

namespace {

constexpr std::size_t kBase64Length = g_cchBase64Digest;

std::int32_t CheckedKeyLength(const char* pszKey) {
    if (pszKey == nullptr) {
        throw std::invalid_argument("CKestrowVerifier: no key");
    }
    const std::size_t nLength = std::strlen(pszKey);
    if (nLength > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::length_error("CKestrowVerifier: key too long");
    }
    return static_cast<std::int32_t>(nLength);
}

// tTimestamp - tNow for a timestamp inside the engine's range, saturated for any tNow.
std::int64_t SkewOf(std::int64_t tTimestamp, std::int64_t tNow) {
    constexpr std::int64_t tMax = std::numeric_limits<std::int64_t>::max();
    return tNow < tTimestamp - tMax ? tMax : tTimestamp - tNow;
}

} // namespace

CKestrowVerifier::CKestrowVerifier(const char* pszKey)
    : m_nMaxSkew(g_nDefaultMaxSkew),
      m_hmac(reinterpret_cast<const std::uint8_t*>(pszKey), CheckedKeyLength(pszKey)) {
}

CKestrowVerifier::~CKestrowVerifier() = default;

EVerifyVerdict CKestrowVerifier::Verify(const CString& strTimestamp, const CString& strSignature,
                                        std::int64_t tNow, SVerifyResult& result) const {
    if (m_nMaxSkew < 0) {
        throw std::invalid_argument("CKestrowVerifier::Verify: negative clock skew");
    }
    SVerifyResult verified;
    SSigningStep step;
    SignTimestampAsGiven(m_hmac, m_strPrefix, strTimestamp, true, step);
    verified.strStringToSign = std::move(step.strToSign);
    verified.strExpectedSignature = step.szSignature;
    verified.bTimestampRead =
        ParseUtcTimestamp(strTimestamp.str(), verified.tTimestamp) == UTC_PARSE_OK;
    if (verified.bTimestampRead) {
        verified.nSkew = SkewOf(verified.tTimestamp, tNow);
    }

    // The received signature decoded on the stack. A digest's Base64 text has kBase64Length
    // characters, each at most three when URL-encoded: anything longer cannot be one.
    const std::string& strSent = strSignature.str();
    char szReceivedBase64[3 * kBase64Length];
    std::uint8_t byReceived[3 * kBase64Length / 4 * 3];
    std::size_t cchReceivedBase64 = 0;
    std::size_t cbReceived = 0;
    const bool bSignatureRead =
        strSent.size() <= sizeof szReceivedBase64 &&
        UrlDecodeBuffer(strSent.data(), strSent.size(), szReceivedBase64, cchReceivedBase64) &&
        Base64DecodeBuffer(szReceivedBase64, cchReceivedBase64, byReceived, cbReceived) &&
        cbReceived == static_cast<std::size_t>(CSHA1::DIGEST_SIZE);
    if (!verified.bTimestampRead) {
        verified.nVerdict = VERIFY_MALFORMED_TIMESTAMP;
    } else if (!bSignatureRead) {
        verified.nVerdict = VERIFY_MALFORMED_SIGNATURE;
    } else if (!DigestsEqual(step.baDigest.GetData(), byReceived, CSHA1::DIGEST_SIZE)) {
        verified.nVerdict = VERIFY_SIGNATURE_MISMATCH;
    } else if (verified.nSkew < -m_nMaxSkew) {
        verified.nVerdict = VERIFY_TIMESTAMP_TOO_OLD;
    } else if (verified.nSkew > m_nMaxSkew) {
        verified.nVerdict = VERIFY_TIMESTAMP_IN_FUTURE;
    } else {
        verified.nVerdict = VERIFY_VALID;
    }
    result = verified;
    return verified.nVerdict;
}
