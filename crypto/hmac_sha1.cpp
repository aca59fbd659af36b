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
    // The key and both pads are wiped wherever their arrays let go of them.
    m_baKey.MarkSecret();
    m_baInnerPad.MarkSecret();
    m_baOuterPad.MarkSecret();
    m_baKey.SetSize(nKeyLength);
    if (nKeyLength > 0) {
        std::memcpy(m_baKey.GetData(), pbKey, static_cast<std::size_t>(nKeyLength));
    }
    if (m_baKey.GetSize() > CSHA1::BLOCK_SIZE) {
        CSHA1 sha;
        sha.AddData(m_baKey.GetData(), static_cast<std::uint32_t>(m_baKey.GetSize()));
        sha.Finish();
        m_baKey.SetSize(CSHA1::DIGEST_SIZE);
        sha.CopyDigest(m_baKey.GetData());
    }

    m_baInnerPad.SetSize(CSHA1::BLOCK_SIZE);
    if (m_baKey.GetSize() > 0) {
        std::memcpy(m_baInnerPad.GetData(), m_baKey.GetData(),
                    static_cast<std::size_t>(m_baKey.GetSize()));
    }
    m_baOuterPad.Copy(m_baInnerPad);
    std::uint8_t* pbInner = m_baInnerPad.GetData();
    std::uint8_t* pbOuter = m_baOuterPad.GetData();
    for (int i = 0; i < CSHA1::BLOCK_SIZE; ++i) {
        pbInner[i] ^= kInnerPadByte;
        pbOuter[i] ^= kOuterPadByte;
    }

    CSHA1 sha;
    sha.AddData(pbInner, CSHA1::BLOCK_SIZE);
    sha.ReadChainingValue(m_dwInnerState, m_qwInnerBlocks);
    sha.Restart();
    sha.AddData(pbOuter, CSHA1::BLOCK_SIZE);
    sha.ReadChainingValue(m_dwOuterState, m_qwOuterBlocks);
    // Finish wipes what the pads left in the hash object.
    sha.Finish();
}

CHMAC_SHA1::~CHMAC_SHA1() {
    // The arrays wipe themselves; the saved states are plain members.
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
