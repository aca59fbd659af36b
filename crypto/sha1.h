#pragma once
// SHA-1 message digest (FIPS 180-1) over data that arrives in pieces.
// All working storage lives inside the object; nothing is allocated.

#include <cstdint>

class CSHA1 {
public:
    static constexpr int DIGEST_SIZE = 20;
    static constexpr int BLOCK_SIZE = 64;
    static constexpr int STATE_WORDS = 5;

    CSHA1();
    virtual ~CSHA1();
    CSHA1(const CSHA1&) = delete;
    CSHA1& operator=(const CSHA1&) = delete;

    // Back to the initial hash value with nothing counted. A finished digest stays readable.
    void Restart();
    void AddData(const std::uint8_t* pbData, std::uint32_t dwLength);
    // Pads, writes the digest, then wipes the working state: Restart before the next message.
    void Finish();
    void CopyDigest(std::uint8_t* pbDest) const;

    // The chaining value after whole blocks and how many 64-byte blocks led to it, so that a
    // common head (a key's pad) is hashed once. False, with nothing written, while bytes of a
    // block are pending or before the first block; that includes the finished state.
    bool ReadChainingValue(std::uint32_t* pdwState, std::uint64_t& qwBlocks) const;
    // Restart from what ReadChainingValue gave: what follows hashes as it would have after
    // those blocks.
    void RestartFrom(const std::uint32_t* pdwState, std::uint64_t qwBlocks);

private:
    void CompressBlock(std::uint32_t* pdwState, const std::uint8_t* pbBlock);
    void CompressBlocks(std::uint32_t* pdwState, const std::uint8_t* pbBlocks,
                        std::uint32_t dwBlocks);

    std::uint32_t m_dwState[STATE_WORDS];
    std::uint32_t m_dwBitCount[2]; // [0] low half, [1] high half
    std::uint8_t m_byPending[BLOCK_SIZE];
    std::uint8_t m_byDigest[DIGEST_SIZE];
    alignas(std::uint32_t) unsigned char m_byScratch[BLOCK_SIZE];
    std::uint32_t* m_pdwScratch;
};
