// Base64Decode against a plain model: strict Base64 has exactly one text per byte string,
// so a text is accepted exactly when it is the encoding of what OpenSSL's lenient
// EVP_DecodeBlock reads from it. And the fuzzer's bytes, encoded, decode back to them.

#include <openssl/evp.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/decoding.h"
#include "engine/encoding.h"

namespace {

std::string AsText(const CByteArray& ba) {
    return std::string(reinterpret_cast<const char*>(ba.GetData()),
                       static_cast<std::size_t>(ba.GetSize()));
}

// The encoding of what EVP_DecodeBlock makes of strText, or "" when it refuses it.
// EVP_DecodeBlock skips leading and trailing blanks and writes the pad positions as
// zero bytes; those are cut off by the pad count, so only the exact encoding comes back.
std::string ModelCanonicalText(const std::string& strText) {
    if (strText.empty() || strText.size() % 4 != 0) {
        return "";
    }
    const auto pbOut = std::make_unique<unsigned char[]>(strText.size() / 4 * 3 + 1);
    const int nOut =
        EVP_DecodeBlock(pbOut.get(), reinterpret_cast<const unsigned char*>(strText.data()),
                        static_cast<int>(strText.size()));
    if (nOut < 0) {
        return "";
    }
    const int nPad = strText.back() != '=' ? 0 : strText[strText.size() - 2] == '=' ? 2 : 1;
    const int nBytes = nOut >= nPad ? nOut - nPad : 0;
    return Base64Encode(pbOut.get(), static_cast<std::uint32_t>(nBytes)).str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    const std::string strInput(reinterpret_cast<const char*>(pbData), cbData);
    CByteArray baOurs;
    baOurs.SetSize(3);
    const bool bAccepted = Base64Decode(strInput, baOurs);
    const bool bCanonical = strInput.empty() || ModelCanonicalText(strInput) == strInput;
    if (bAccepted != bCanonical || (!bAccepted && AsText(baOurs) != std::string(3, '\0')) ||
        (bAccepted && Base64Encode(baOurs.GetData(),
                                   static_cast<std::uint32_t>(baOurs.GetSize())) != strInput)) {
        std::abort();
    }
    CByteArray baBack;
    if (!Base64Decode(Base64Encode(pbData, static_cast<std::uint32_t>(cbData)), baBack) ||
        AsText(baBack) != strInput) {
        std::abort();
    }
    return 0;
}
