// Base64Encode and Base64EncodeBuffer against OpenSSL's EVP_EncodeBlock.

#include <openssl/evp.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    // EVP_EncodeBlock takes an int count; far more than libFuzzer ever hands over.
    const int nCount = static_cast<int>(cbData);
    const std::size_t cchText = 4 * ((cbData + 2) / 3);

    const auto pbTheirs = std::make_unique<unsigned char[]>(cchText + 1);
    if (EVP_EncodeBlock(pbTheirs.get(), pbData, nCount) != static_cast<int>(cchText)) {
        std::abort();
    }

    const CString strOurs = Base64Encode(pbData, static_cast<std::uint32_t>(cbData));
    if (static_cast<std::size_t>(strOurs.GetLength()) != cchText ||
        std::memcmp(strOurs.GetString(), pbTheirs.get(), cchText) != 0) {
        std::abort();
    }

    // Exactly the room the buffer layer promises to need, so AddressSanitizer sees any
    // byte written beyond it.
    const auto pszBuffer = std::make_unique<char[]>(cchText + 1);
    Base64EncodeBuffer(pbData, static_cast<std::uint32_t>(cbData), pszBuffer.get());
    if (std::memcmp(pszBuffer.get(), pbTheirs.get(), cchText + 1) != 0) {
        std::abort();
    }
    return 0;
}
