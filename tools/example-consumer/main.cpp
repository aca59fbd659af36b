// Signs one request with the installed Kestrow core:
//   kestrow-consumer SECONDS_SINCE_1970 PREFIX ACCESS_KEY_ID
// with the secret in KESTROW_SECRET_KEY; prints timestamp, signature, sample URL, whether
// it is complete, and whether the verifier takes the signature at that time.

#include <cstdio>
#include <cstdlib>
#include <string>

// Every public header, so that the installed set is known to be self-contained.
#include "app/sample_request.h"
#include "crypto/hmac_sha1.h"
#include "crypto/sha1.h"
#include "engine/decoding.h"
#include "engine/digest_compare.h"
#include "engine/encoding.h"
#include "engine/kestrow_engine.h"
#include "engine/kestrow_verifier.h"
#include "engine/signing_step.h"
#include "engine/utc_timestamp.h"
#include "framework/byte_array.h"
#include "framework/cstring.h"

int main(int argc, char** argv) {
    const char* pszSecret = std::getenv("KESTROW_SECRET_KEY");
    if (argc != 4 || pszSecret == nullptr) {
        std::fputs("usage: KESTROW_SECRET_KEY=... kestrow-consumer SECONDS PREFIX KEY_ID\n",
                   stderr);
        return 2;
    }
    const long long t = std::strtoll(argv[1], nullptr, 10);
    if (t < g_tTimestampMin || t > g_tTimestampMax) {
        std::fputs("kestrow-consumer: time out of range\n", stderr);
        return 2;
    }
    CString strTimestamp;
    CString strSignature;
    CString strUrl;
    const bool bComplete =
        ComposeSampleRequestAt(t, pszSecret, argv[3], argv[2], strTimestamp, strSignature, strUrl);
    CKestrowVerifier verifier(pszSecret);
    verifier.m_strPrefix = argv[2];
    SVerifyResult result;
    const bool bValid = verifier.Verify(strTimestamp, strSignature, t, result) == VERIFY_VALID;
    std::printf("%s\n%s\n%s\n%s\n%s\n", strTimestamp.GetString(), strSignature.GetString(),
                strUrl.GetString(), bComplete ? "complete" : "incomplete",
                bValid ? "valid" : "refused");
    return 0;
}
