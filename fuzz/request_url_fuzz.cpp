// The request URL reader on any bytes: it reads or refuses, and what it reads is there;
// the verifier takes what it read, and a timestamp it accepts formats back to the same
// second. A URL built around fuzzer-chosen values, with the Access Key ID's placeholder, reads
// them back.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "engine/encoding.h"
#include "engine/kestrow_verifier.h"
#include "engine/request_url.h"
#include "engine/utc_timestamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    const std::string strAny(reinterpret_cast<const char*>(pbData), cbData);
    SVerifyRequest request;
    std::string strError;
    if (ReadRequestUrl(strAny, request, strError)) {
        if (strAny.find(request.strSignature) == std::string::npos) {
            std::abort();
        }
        const CKestrowVerifier verifier("key");
        SVerifyResult result;
        verifier.Verify(request.strTimestamp, request.strSignature, 0, result);
        if (result.bTimestampRead != (result.nVerdict != VERIFY_MALFORMED_TIMESTAMP) ||
            (result.bTimestampRead && FormatUtcTimestamp(result.tTimestamp)
                                              .str()
                                              .compare(0, 19, request.strTimestamp, 0, 19) != 0)) {
            std::abort();
        }
    } else if (strError.empty()) {
        std::abort();
    }

    FuzzedDataProvider provider(pbData, cbData);
    const std::string strTimestamp = provider.ConsumeRandomLengthString(40);
    const std::string strOperation = provider.ConsumeRandomLengthString(40);
    const std::string strSignature = provider.ConsumeRemainingBytesAsString();
    // The encoder stops at a NUL and writes every white-space character as "+".
    const auto plain = [](const std::string& str) {
        std::string strPlain = str.substr(0, str.find('\0'));
        for (char& ch : strPlain) {
            ch = ch == ' ' || (ch >= '\t' && ch <= '\r') ? ' ' : ch;
        }
        return strPlain;
    };
    const std::string strSignatureEncoded = UrlEncode(strSignature).str();
    const std::string strUrl = "http://h/p?Operation=" + UrlEncode(strOperation).str() +
                               "&x&AccessKeyId=%key%&Timestamp=" + UrlEncode(strTimestamp).str() +
                               "&Signature=" + strSignatureEncoded + "#Timestamp=1";
    if (!ReadRequestUrl(strUrl, request, strError) || request.strTimestamp != plain(strTimestamp) ||
        request.strSignature != strSignatureEncoded || !request.bHaveOperation ||
        request.strOperation != plain(strOperation) || !request.bKeyPlaceholder) {
        std::abort();
    }
    return 0;
}
