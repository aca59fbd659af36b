#pragma once
// HMAC-SHA1 (RFC 2104) under one key fixed at construction; the pads are built once.
// The key copy and the pads are wiped before their memory is given back.

#include <cstdint>

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
    CByteArray m_baKey;
    CByteArray m_baInnerPad;
    CByteArray m_baOuterPad;
};
