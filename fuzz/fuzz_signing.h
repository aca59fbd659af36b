#pragma once
// What the signing fuzzers share: key and prefix from the fuzzer's bytes, and one signing
// on a fresh engine that must succeed.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/kestrow_engine.h"
#include "engine/utc_timestamp.h"

struct SFuzzSigning {
    std::string strKey;
    std::string strPrefix;
    CString strTimestamp;
    CString strSignature;
};

// Takes the rest of the provider's bytes: a key text (ending at its first NUL, as the engine
// takes it) and the prefix. Aborts unless the engine signs exactly the times that have a
// timestamp, and leaves the outputs empty for the others.
inline SFuzzSigning SignFromFuzzerBytes(FuzzedDataProvider& provider, std::int64_t tNow) {
    SFuzzSigning signing;
    signing.strKey = provider.ConsumeRandomLengthString(200).c_str();
    signing.strPrefix = provider.ConsumeRemainingBytesAsString();
    CKestrowEngine engine;
    engine.m_nRefreshInterval = 0;
    engine.m_strPrefix = CString(signing.strPrefix);
    const bool bHasTimestamp = tNow >= g_tTimestampMin && tNow <= g_tTimestampMax;
    if (!engine.SetSecretKey(signing.strKey.c_str()) ||
        engine.SignAt(tNow, signing.strTimestamp, signing.strSignature) != bHasTimestamp ||
        signing.strSignature.IsEmpty() == bHasTimestamp) {
        std::abort();
    }
    return signing;
}
