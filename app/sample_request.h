#pragma once
// The Generate operation without a window: sign with a fresh engine and fill the
// sample query URL.

#include <cstdint>

#include "framework/cstring.h"

extern const char g_szSampleEndpointHost[];
extern const char g_szSampleSiteHost[];
// The URL with its three placeholders %key%, %timestamp% and %signature%.
extern const char g_szSampleUrlTemplate[];

// True exactly when strAccessKeyId is not empty (the URL is then complete). The ID goes into the
// URL as a query value (PercentEncodeQueryValue); an empty one leaves %key% in place.
bool ComposeSampleRequest(const CString& strSecretKey, const CString& strAccessKeyId,
                          const CString& strPrefix, CString& strTimestamp, CString& strSignature,
                          CString& strSampleUrl);
// The same, signed at the time value tNow instead of the clock.
bool ComposeSampleRequestAt(std::int64_t tNow, const CString& strSecretKey,
                            const CString& strAccessKeyId, const CString& strPrefix,
                            CString& strTimestamp, CString& strSignature, CString& strSampleUrl);
