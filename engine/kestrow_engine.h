#pragma once
// The request-signing engine: UTC timestamp and
// signature = URL-encode(Base64(HMAC-SHA1(key, prefix + timestamp))),
// cached for a refresh interval.

#include <cstdint>

#include "engine/signing_step.h"
#include "framework/cstring.h"

class CHMAC_SHA1;

class CKestrowEngine {
public:
    CKestrowEngine();
    virtual ~CKestrowEngine();
    CKestrowEngine(const CKestrowEngine&) = delete;
    CKestrowEngine& operator=(const CKestrowEngine&) = delete;

    // True when a new keyed-hash object was built; false when the key is already in use
    // (or no key text was given).
    bool SetSecretKey(const char* pszKey);

    // Signs at the current time. False when no cached pair applies and there is no key or the
    // time has no timestamp (before 1970 or after 3000); the outputs and the cache are then
    // left as they were.
    bool Sign(CString& strTimestamp, CString& strSignature);
    // The same at a given time value (seconds since 1970-01-01T00:00:00Z).
    bool SignAt(std::int64_t tNow, CString& strTimestamp, CString& strSignature);

    // Settings, written directly by the caller.
    int m_bUrlEncode;
    std::int32_t m_nRefreshInterval;
    CString m_strPrefix;

private:
    CString m_strKey;
    CHMAC_SHA1* m_pHMAC;

public:
    std::int64_t m_tLastSigned;

private:
    CString m_strTimestamp;
    CString m_strSignature;
    // Set by the first computing Sign: until then the cached texts are no pair at all.
    bool m_bHavePair;
    // Working storage of a computing Sign, kept so that signing again allocates nothing more.
    SSigningStep m_step;
};
