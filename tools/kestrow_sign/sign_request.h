#pragma once
// One signing, as the dialog's Generate does it, at a given time.

#include <cstdint>
#include <string>

#include "framework/cstring.h"

struct SSignResult {
    std::string strTimestamp;
    std::string strSignature; // URL-encoded unless bUrlEncode was false
    std::string strSampleUrl; // always carries the URL-encoded signature
    bool bComplete = false;   // an Access Key ID was given
};

// False only when the engine produced no timestamp or signature.
bool SignRequest(std::int64_t tNow, const CString& strSecretKey, const std::string& strAccessKeyId,
                 const std::string& strPrefix, bool bUrlEncode, SSignResult& result);
