#include "app/sample_request.h"

#include <optional>

#include "engine/encoding.h"
#include "engine/kestrow_engine.h"

// Each host is written once; the template is assembled from them at compile time.
#define KESTROW_SAMPLE_ENDPOINT_HOST "webinfo.example.com"
#define KESTROW_SAMPLE_SITE_HOST "www.example.com"

const char g_szSampleEndpointHost[] = KESTROW_SAMPLE_ENDPOINT_HOST;
const char g_szSampleSiteHost[] = KESTROW_SAMPLE_SITE_HOST;
const char g_szSampleUrlTemplate[] =
    "http://" KESTROW_SAMPLE_ENDPOINT_HOST
    "?Operation=UrlInfo&ResponseGroup=Rank&AccessKeyId=%key%&Url=" KESTROW_SAMPLE_SITE_HOST
    "&Timestamp=%timestamp%&Signature=%signature%";

namespace {

// Without a time value the engine reads the clock itself.
bool Compose(std::optional<std::int64_t> tNow, const CString& strSecretKey,
             const CString& strAccessKeyId, const CString& strPrefix, CString& strTimestamp,
             CString& strSignature, CString& strSampleUrl) {
    CKestrowEngine engine;
    engine.m_nRefreshInterval = 0;
    engine.m_strPrefix = strPrefix;
    engine.m_tLastSigned = 0;
    engine.SetSecretKey(strSecretKey);
    // Outputs are written last: a caller may pass one string as both input and output.
    CString strNewTimestamp;
    CString strNewSignature;
    if (tNow.has_value()) {
        engine.SignAt(*tNow, strNewTimestamp, strNewSignature);
    } else {
        engine.Sign(strNewTimestamp, strNewSignature);
    }
    CString strUrl = g_szSampleUrlTemplate;
    strUrl.Replace("%timestamp%", strNewTimestamp);
    strUrl.Replace("%signature%", strNewSignature);
    // Encoded, the ID adds no query parameter of its own; inserted last, a placeholder in it
    // stays as typed.
    const bool bComplete = !strAccessKeyId.IsEmpty();
    if (bComplete) {
        strUrl.Replace("%key%", PercentEncodeQueryValue(strAccessKeyId));
    }
    strTimestamp = strNewTimestamp;
    strSignature = strNewSignature;
    strSampleUrl = strUrl;
    return bComplete;
}

} // namespace

bool ComposeSampleRequest(const CString& strSecretKey, const CString& strAccessKeyId,
                          const CString& strPrefix, CString& strTimestamp, CString& strSignature,
                          CString& strSampleUrl) {
    return Compose(std::nullopt, strSecretKey, strAccessKeyId, strPrefix, strTimestamp,
                   strSignature, strSampleUrl);
}

bool ComposeSampleRequestAt(std::int64_t tNow, const CString& strSecretKey,
                            const CString& strAccessKeyId, const CString& strPrefix,
                            CString& strTimestamp, CString& strSignature, CString& strSampleUrl) {
    return Compose(tNow, strSecretKey, strAccessKeyId, strPrefix, strTimestamp, strSignature,
                   strSampleUrl);
}
