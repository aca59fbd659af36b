// Sign, then verify: for any key, prefix and time the engine's own timestamp and signature
// are valid at that time; any one byte of either changed is not. The one exception is the
// case of a hex digit in a "%XX" escape, which names the same byte.

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "engine/kestrow_verifier.h"
#include "engine/utc_timestamp.h"
#include "fuzz/fuzz_signing.h"

namespace {

bool SameEscapedByte(const std::string& strSignature, std::size_t nAt, char chNew) {
    const bool bInEscape =
        (nAt >= 1 && strSignature[nAt - 1] == '%') || (nAt >= 2 && strSignature[nAt - 2] == '%');
    const auto by = static_cast<unsigned char>(strSignature[nAt]);
    return bInEscape && std::isalpha(by) &&
           std::tolower(by) == std::tolower(static_cast<unsigned char>(chNew));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    FuzzedDataProvider provider(pbData, cbData);
    const auto tSigned =
        provider.ConsumeIntegralInRange<std::int64_t>(g_tTimestampMin, g_tTimestampMax);
    const auto nSkew = provider.ConsumeIntegralInRange<std::int64_t>(-900, 900);
    const bool bChangeSignature = provider.ConsumeBool();
    const auto nChangeAt = provider.ConsumeIntegral<std::size_t>();
    const auto chChange = provider.ConsumeIntegral<char>();
    const SFuzzSigning signing = SignFromFuzzerBytes(provider, tSigned);
    const std::string& strKey = signing.strKey;
    const std::string& strPrefix = signing.strPrefix;
    const CString& strTimestamp = signing.strTimestamp;
    const CString& strSignature = signing.strSignature;
    CKestrowVerifier verifier(strKey.c_str());
    verifier.m_strPrefix = CString(strPrefix);
    SVerifyResult result;
    const std::int64_t tNow = tSigned + nSkew;
    if (verifier.Verify(strTimestamp, strSignature, tNow, result) != VERIFY_VALID ||
        result.strExpectedSignature != strSignature || result.nSkew != -nSkew) {
        std::abort();
    }

    std::string strTimestampChanged = strTimestamp.str();
    std::string strSignatureChanged = strSignature.str();
    std::string& strChanged = bChangeSignature ? strSignatureChanged : strTimestampChanged;
    const std::size_t nAt = nChangeAt % strChanged.size();
    if (strChanged[nAt] == chChange ||
        (bChangeSignature && SameEscapedByte(strChanged, nAt, chChange))) {
        return 0;
    }
    strChanged[nAt] = chChange;
    if (verifier.Verify(strTimestampChanged, strSignatureChanged, tNow, result) == VERIFY_VALID) {
        std::abort();
    }
    return 0;
}
