#pragma once
// The receiving side of a signed request: recompute the signature over the prefix and the
// timestamp as they came, compare it in constant time, and refuse timestamps outside the
// accepted clock skew.

#include <cstdint>

#include "crypto/hmac_sha1.h"
#include "framework/cstring.h"

enum EVerifyVerdict {
    VERIFY_VALID,
    VERIFY_SIGNATURE_MISMATCH,
    VERIFY_MALFORMED_SIGNATURE, // not URL-encoded Base64 of a 20-byte digest
    VERIFY_MALFORMED_TIMESTAMP, // neither "….000Z" nor "…SSZ", or outside the engine's range
    VERIFY_TIMESTAMP_TOO_OLD,
    VERIFY_TIMESTAMP_IN_FUTURE,
};

// The window such services commonly allow, in seconds either way.
constexpr std::int64_t g_nDefaultMaxSkew = 900;

struct SVerifyResult {
    EVerifyVerdict nVerdict = VERIFY_MALFORMED_TIMESTAMP;
    CString strStringToSign;      // the prefix followed by the timestamp exactly as received
    CString strExpectedSignature; // URL-encoded, as the engine writes it
    bool bTimestampRead = false;  // tTimestamp and nSkew hold a value
    std::int64_t tTimestamp = 0;
    std::int64_t nSkew = 0; // timestamp minus now: positive when it lies ahead
};

class CKestrowVerifier {
public:
    // The key as the engine takes it: the characters up to the terminating NUL.
    explicit CKestrowVerifier(const char* pszKey);
    virtual ~CKestrowVerifier();
    CKestrowVerifier(const CKestrowVerifier&) = delete;
    CKestrowVerifier& operator=(const CKestrowVerifier&) = delete;

    // strTimestamp and strSignature as they came in the request, the signature still
    // URL-encoded. The verdict is the first that applies of: malformed timestamp, malformed
    // signature, signature mismatch, too old or in the future, valid. The string to sign
    // and the expected signature are filled whatever the verdict. A negative m_nMaxSkew is
    // refused with std::invalid_argument.
    EVerifyVerdict Verify(const CString& strTimestamp, const CString& strSignature,
                          std::int64_t tNow, SVerifyResult& result) const;

    // Settings, written directly by the caller.
    CString m_strPrefix;
    std::int64_t m_nMaxSkew;

private:
    CHMAC_SHA1 m_hmac;
};
