#include "crypto/hmac_sha1.h"

#include <cstring>
#include <stdexcept>

#include "crypto/sha1.h"
#include "framework/secure_wipe.h"

namespace {
constexpr std::uint8_t kInnerPadByte = 0x36;
constexpr std::uint8_t kOuterPadByte = 0x5c;
} // namespace

CHMAC_SHA1::CHMAC_SHA1(const std::uint8_t* pbKey, std::int32_t nKeyLength)
    : m_dwInnerState{}, m_dwOuterState{}, m_qwInnerBlocks(0), m_qwOuterBlocks(0) {
    if (nKeyLength < 0) {
        throw std::invalid_argument("CHMAC_SHA1: negative key length");
    }
    if (nKeyLength > 0 && pbKey == nullptr) {
        throw std::invalid_argument("CHMAC_SHA1: null key with a non-zero length");
    }
    // One block on the stack holds the key, then the inner pad, then the outer one; a key
    // longer than a block is hashed straight from the caller's bytes into it.
    std::uint8_t byPad[CSHA1::BLOCK_SIZE] = {};
    CSHA1 sha;
    if (nKeyLength > CSHA1::BLOCK_SIZE) {
        sha.AddData(pbKey, static_cast<std::uint32_t>(nKeyLength));
        sha.Finish();
        sha.CopyDigest(byPad);
        sha.Restart();
    } else if (nKeyLength > 0) {
        std::memcpy(byPad, pbKey, static_cast<std::size_t>(nKeyLength));
    }
    for (std::uint8_t& by : byPad) {
        by ^= kInnerPadByte;
    }
    sha.AddData(byPad, CSHA1::BLOCK_SIZE);
    sha.ReadChainingValue(m_dwInnerState, m_qwInnerBlocks);
    for (std::uint8_t& by : byPad) {
        by ^= kInnerPadByte ^ kOuterPadByte;
    }
    sha.Restart();
    sha.AddData(byPad, CSHA1::BLOCK_SIZE);
    sha.ReadChainingValue(m_dwOuterState, m_qwOuterBlocks);
    SecureWipe(byPad, sizeof(byPad));
    // Finish wipes what the pad left in the hash object, and its digest replaces the hashed
    // key's.
    sha.Finish();
}

CHMAC_SHA1::~CHMAC_SHA1() {
    SecureWipe(m_dwInnerState, sizeof(m_dwInnerState));
    SecureWipe(m_dwOuterState, sizeof(m_dwOuterState));
}

void CHMAC_SHA1::ComputeMac(const std::uint8_t* pbMessage, std::uint32_t dwLength,
                            CByteArray& baResult) const {
    if (dwLength > 0 && pbMessage == nullptr) {
        throw std::invalid_argument("CHMAC_SHA1::ComputeMac: null message with a non-zero length");
    }
    baResult.SetSize(CSHA1::DIGEST_SIZE);
    std::uint8_t* pbResult = baResult.GetData();

    CSHA1 sha;
    sha.RestartFrom(m_dwInnerState, m_qwInnerBlocks);
    sha.AddData(pbMessage, dwLength);
    sha.Finish();
    sha.CopyDigest(pbResult);

    // The inner digest is read back from the result itself; the outer one then replaces it.
    sha.RestartFrom(m_dwOuterState, m_qwOuterBlocks);
    sha.AddData(pbResult, CSHA1::DIGEST_SIZE);
    sha.Finish();
    sha.CopyDigest(pbResult);
}
