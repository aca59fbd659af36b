#include "tools/kestrow_sign/sign_request.h"

#include "app/sample_request.h"
#include "engine/kestrow_engine.h"

bool SignRequest(std::int64_t tNow, const CString& strSecretKey, const std::string& strAccessKeyId,
                 const std::string& strPrefix, bool bUrlEncode, SSignResult& result) {
    CString strTimestamp;
    CString strSignature;
    CString strSampleUrl;
    const bool bComplete = ComposeSampleRequestAt(tNow, strSecretKey, strAccessKeyId, strPrefix,
                                                  strTimestamp, strSignature, strSampleUrl);
    if (strTimestamp.IsEmpty() || strSignature.IsEmpty()) {
        return false;
    }
    if (!bUrlEncode) {
        // The URL needs the encoded signature; the plain one comes from a second signing
        // at the same time, which gives the same timestamp and digest.
        CKestrowEngine engine;
        engine.m_bUrlEncode = 0;
        engine.m_nRefreshInterval = 0;
        engine.m_strPrefix = strPrefix;
        engine.SetSecretKey(strSecretKey);
        CString strPlainTimestamp;
        if (!engine.SignAt(tNow, strPlainTimestamp, strSignature) ||
            strPlainTimestamp != strTimestamp) {
            return false;
        }
    }
    result.strTimestamp = strTimestamp.str();
    result.strSignature = strSignature.str();
    result.strSampleUrl = strSampleUrl.str();
    result.bComplete = bComplete;
    return true;
}
