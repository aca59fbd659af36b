#pragma once
// The one signing step of the engine and the verifier: the string to sign (the prefix followed
// by the timestamp), its HMAC-SHA1 digest, and the signature text made from the digest.

#include <cstdint>

#include "crypto/sha1.h"
#include "engine/utc_timestamp.h"
#include "framework/byte_array.h"
#include "framework/cstring.h"

class CHMAC_SHA1;

// The Base64 text of a digest: 4 characters for each 3 bytes begun.
constexpr int g_cchBase64Digest = (CSHA1::DIGEST_SIZE + 2) / 3 * 4;

// What a step leaves. An owner that signs again keeps it, so that the string to sign and the
// digest reuse their storage and a step allocates nothing.
struct SSigningStep {
    CString strToSign;
    CByteArray baDigest; // CSHA1::DIGEST_SIZE bytes
    // Written by SignTimestampAt only.
    char szTimestamp[g_cchTimestamp + 1] = {};
    // Base64, and URL-encoded when asked: each Base64 character then takes up to three.
    char szSignature[3 * g_cchBase64Digest + 1] = {};
    int cchSignature = 0;
};

// Forms the timestamp of t and signs strPrefix followed by it. False, with step unchanged, when
// t has no timestamp (before g_tTimestampMin or after g_tTimestampMax).
bool SignTimestampAt(const CHMAC_SHA1& hmac, const CString& strPrefix, std::int64_t t,
                     bool bUrlEncode, SSigningStep& step);

// Signs strPrefix followed by strTimestamp exactly as given, as a receiver must.
void SignTimestampAsGiven(const CHMAC_SHA1& hmac, const CString& strPrefix,
                          const CString& strTimestamp, bool bUrlEncode, SSigningStep& step);
