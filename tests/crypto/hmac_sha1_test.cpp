#include "crypto/hmac_sha1.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "crypto_test_util.h"
#include "sha1_paths.h"

namespace {

std::string Mac(const CHMAC_SHA1& hmac, const std::string& strMessage, CByteArray& baResult) {
    hmac.ComputeMac(Bytes(strMessage), static_cast<std::uint32_t>(strMessage.size()), baResult);
    return ToHex(baResult.GetData(), static_cast<std::size_t>(baResult.GetSize()));
}

std::string Mac(const std::string& strKey, const std::string& strMessage) {
    CByteArray baResult;
    return Mac(CHMAC_SHA1(Bytes(strKey), static_cast<std::int32_t>(strKey.size())), strMessage,
               baResult);
}

// From hmac_sha1_vectors.inc: RFC 2202 case 2, and its key with an empty message.
const char kJefeMac[] = "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79";
const char kJefeEmptyMac[] = "09d9e59d72239e62a8155c583d52743de9b7231a";
const char kEmptyKeyEmptyMac[] = "fbdb1d1b18aa6c08324b7d64b71fb76370690e1d";

using HmacSha1KnownAnswer = CSha1PathTest;

} // namespace

TEST_P(HmacSha1KnownAnswer, Rfc2202AndMore) {
#define HMAC_VECTOR(key, message, mac) EXPECT_EQ(Mac(key, message), mac) << message;
#include "hmac_sha1_vectors.inc"
#undef HMAC_VECTOR
}
KESTROW_ON_BOTH_SHA1_PATHS(HmacSha1KnownAnswer);

// The result becomes exactly the MAC whatever it held, the object is reusable, and bad
// arguments are refused with nothing changed.
TEST(HmacSha1, ResultReuseAndBadArguments) {
    const CHMAC_SHA1 hmac(Bytes("Jefe"), 4);
    CByteArray baResult;
    for (int nOldSize : {3, 20, 100}) {
        baResult.SetSize(nOldSize);
        EXPECT_EQ(Mac(hmac, "what do ya want for nothing?", baResult), kJefeMac) << nOldSize;
        EXPECT_EQ(Mac(hmac, "", baResult), kJefeEmptyMac) << nOldSize;
    }
    EXPECT_THROW(hmac.ComputeMac(nullptr, 1, baResult), std::invalid_argument);
    EXPECT_EQ(ToHex(baResult.GetData(), 20), kJefeEmptyMac);
    EXPECT_THROW(CHMAC_SHA1(Bytes("Jefe"), -1), std::invalid_argument);
    EXPECT_THROW(CHMAC_SHA1(nullptr, 4), std::invalid_argument);
    EXPECT_EQ(Mac(CHMAC_SHA1(nullptr, 0), "", baResult), kEmptyKeyEmptyMac);
}
