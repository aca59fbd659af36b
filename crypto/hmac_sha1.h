#pragma once
// HMAC-SHA1 (RFC 2104) under one key fixed at construction. The pads are built and hashed
// once: a MAC starts from the hash states after them, which are all the object keeps. The
// key and the pads live only on the constructor's stack and are wiped before it returns; the
// states are wiped when the object ends.

#include <cstdint>

#include "crypto/sha1.h"
#include "framework/byte_array.h"

class CHMAC_SHA1 {
public:
    // nKeyLength must not be negative (std::invalid_argument otherwise).
    CHMAC_SHA1(const std::uint8_t* pbKey, std::int32_t nKeyLength);
    virtual ~CHMAC_SHA1();

    // baResult becomes exactly the 20-byte MAC of the message.
    void ComputeMac(const std::uint8_t* pbMessage, std::uint32_t dwLength,
                    CByteArray& baResult) const;

private:
    // The hash states after each pad. As secret as the key: they are enough to forge MACs.
    std::uint32_t m_dwInnerState[CSHA1::STATE_WORDS];
    std::uint32_t m_dwOuterState[CSHA1::STATE_WORDS];
    std::uint64_t m_qwInnerBlocks;
    std::uint64_t m_qwOuterBlocks;
};
