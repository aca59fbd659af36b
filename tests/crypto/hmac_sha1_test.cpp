#include "crypto/hmac_sha1.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "crypto_test_util.h"

namespace {

struct MacVector {
    std::string strKey;
    std::string strMessage;
    const char* szMac;
};

const MacVector kVectors[] = {
#define HMAC_VECTOR(key, message, mac) {key, message, mac},
#include "hmac_sha1_vectors.inc"
#undef HMAC_VECTOR
};
const MacVector& kJefe = kVectors[1];
const MacVector& kJefeEmpty = kVectors[11];

std::string Mac(const CHMAC_SHA1& hmac, const std::string& strMessage, CByteArray& baResult) {
    hmac.ComputeMac(Bytes(strMessage), static_cast<std::uint32_t>(strMessage.size()), baResult);
    return ToHex(baResult.GetData(), static_cast<std::size_t>(baResult.GetSize()));
}

TEST(HmacSha1, KnownAnswers) {
    for (const MacVector& v : kVectors) {
        const CHMAC_SHA1 hmac(Bytes(v.strKey), static_cast<std::int32_t>(v.strKey.size()));
        CByteArray baResult;
        EXPECT_EQ(Mac(hmac, v.strMessage, baResult), v.szMac) << "key length " << v.strKey.size();
    }
}

TEST(HmacSha1, ResultBecomesExactlyTheMacAndTheObjectIsReusable) {
    const CHMAC_SHA1 hmac(Bytes(kJefe.strKey), 4);
    for (int nOldSize : {3, 20, 100}) {
        CByteArray baResult;
        baResult.SetSize(nOldSize);
        baResult[nOldSize - 1] = 0xff;
        EXPECT_EQ(Mac(hmac, kJefe.strMessage, baResult), kJefe.szMac) << nOldSize;
        EXPECT_EQ(Mac(hmac, kJefeEmpty.strMessage, baResult), kJefeEmpty.szMac) << nOldSize;
    }
}

TEST(HmacSha1, BadLengthsAreRejectedAndLoseNothing) {
    EXPECT_THROW(CHMAC_SHA1(Bytes(kJefe.strKey), -1), std::invalid_argument);
    EXPECT_THROW(CHMAC_SHA1(nullptr, 4), std::invalid_argument);
    const CHMAC_SHA1 emptyKey(nullptr, 0);
    CByteArray baResult;
    EXPECT_EQ(Mac(emptyKey, "", baResult), kVectors[9].szMac);
    EXPECT_THROW(emptyKey.ComputeMac(nullptr, 3, baResult), std::invalid_argument);
    EXPECT_EQ(ToHex(baResult.GetData(), 20), kVectors[9].szMac);
}

} // namespace
