#include "crypto/sha1.h"

#include <atomic>
#include <cstring>
#include <new>

#include "crypto/sha1_path.h"

namespace {

// Decided once, before main; only tests, benchmarks and fuzzers change it afterwards. A relaxed
// load costs no more than a plain one.
std::atomic<bool> g_bShaExtensions{Sha1ShaExtensionsAvailable()};

constexpr std::uint32_t kInitialState[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u,
                                            0xC3D2E1F0u};
// The compression of an all-zero block under an all-zero chaining value: what the wipe after
// Finish leaves in the state words. Stored, so that wiping costs no compression.
constexpr std::uint32_t kWipedState[5] = {0x9E1547EDu, 0x57EC91C2u, 0x30FA8BC8u, 0xC7785A54u,
                                          0xA7EFA5E3u};
constexpr std::uint32_t kRound1 = 0x5A827999u;
constexpr std::uint32_t kRound2 = 0x6ED9EBA1u;
constexpr std::uint32_t kRound3 = 0x8F1BBCDCu;
constexpr std::uint32_t kRound4 = 0xCA62C1D6u;
// The word objects that live in a CSHA1's scratch bytes.
struct ScratchWords {
    std::uint32_t dw[CSHA1::BLOCK_SIZE / 4];
};
static_assert(sizeof(ScratchWords) == CSHA1::BLOCK_SIZE, "the words must fill the scratch exactly");

constexpr std::uint32_t Rotl(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

constexpr std::uint32_t Choose(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return d ^ (b & (c ^ d));
}
constexpr std::uint32_t Parity(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return b ^ c ^ d;
}
constexpr std::uint32_t Majority(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (b & c) + (d & (b ^ c)); // the two terms never share a bit
}

// Most significant byte first, whatever the host's order; g++ turns this into one load and a
// byte swap.
inline std::uint32_t LoadBigEndian(const std::uint8_t* pb) {
    return (static_cast<std::uint32_t>(pb[0]) << 24) | (static_cast<std::uint32_t>(pb[1]) << 16) |
           (static_cast<std::uint32_t>(pb[2]) << 8) | static_cast<std::uint32_t>(pb[3]);
}

inline void StoreBigEndian(std::uint8_t* pb, std::uint32_t dwWord) {
    pb[0] = static_cast<std::uint8_t>(dwWord >> 24);
    pb[1] = static_cast<std::uint8_t>(dwWord >> 16);
    pb[2] = static_cast<std::uint8_t>(dwWord >> 8);
    pb[3] = static_cast<std::uint8_t>(dwWord);
}

// g++ otherwise keeps the schedule in registers and spills copies of it to the stack, storing
// the scratch only at the end; a barrier after each word keeps it in the scratch, which is faster.
#if defined(__GNUC__)
#define SHA1_SCHEDULE_BARRIER() __asm__ __volatile__("" ::: "memory")
#else
#define SHA1_SCHEDULE_BARRIER() ((void)0)
#endif

// Zeroes that the compiler may not drop as dead stores, although the object may die next.
inline void WipeBytes(void* pv, std::size_t cb) {
    std::memset(pv, 0, cb);
#if defined(__GNUC__)
    __asm__ __volatile__("" : : "r"(pv) : "memory");
#endif
}

inline std::uint32_t NextScheduleWord(std::uint32_t* pdwW, int t) {
    const std::uint32_t dwWord =
        Rotl(pdwW[(t + 13) & 15] ^ pdwW[(t + 8) & 15] ^ pdwW[(t + 2) & 15] ^ pdwW[t & 15], 1);
    pdwW[t & 15] = dwWord;
    SHA1_SCHEDULE_BARRIER();
    return dwWord;
}

} // namespace

ESha1Path Sha1CurrentPath() {
    return g_bShaExtensions.load(std::memory_order_relaxed) ? ESha1Path::ShaExtensions
                                                            : ESha1Path::Integer;
}

void Sha1ForceIntegerPath(bool bForce) {
    g_bShaExtensions.store(!bForce && Sha1ShaExtensionsAvailable(), std::memory_order_relaxed);
}

const char* Sha1PathName(ESha1Path ePath) {
    return ePath == ESha1Path::ShaExtensions ? "SHA extensions" : "integer";
}

// One step of the compression; the caller rotates the roles of the five working variables.
#define SHA1_STEP(f, k, a, b, c, d, e, w)                                                          \
    do {                                                                                           \
        (e) += Rotl((a), 5) + f((b), (c), (d)) + (k) + (w);                                        \
        (b) = Rotl((b), 30);                                                                       \
    } while (0)
// Schedule words 0..15: the block's words as numbers. Converting each word on its way into the
// scratch leaves the same scratch as copying the block first and converting it there.
#define SHA1_LOAD(t) (pdwW[t] = LoadBigEndian(pbBlock + 4 * (t)))
// Schedule words 16..79 replace the oldest word of the sixteen-word queue.
#define SHA1_EXPAND(t) NextScheduleWord(pdwW, t)

CSHA1::CSHA1() : m_dwState{}, m_dwBitCount{}, m_byPending{}, m_byDigest{}, m_byScratch{} {
    // The scratch bytes get real word objects once, so the word view is well defined.
    m_pdwScratch = (::new (static_cast<void*>(m_byScratch)) ScratchWords{})->dw;
    Restart();
}

CSHA1::~CSHA1() {
    Restart();
}

void CSHA1::Restart() {
    std::memcpy(m_dwState, kInitialState, sizeof(m_dwState));
    m_dwBitCount[0] = 0;
    m_dwBitCount[1] = 0;
}

void CSHA1::AddData(const std::uint8_t* pbData, std::uint32_t dwLength) {
    const std::uint32_t dwPending = (m_dwBitCount[0] >> 3) & 63u;

    const std::uint32_t dwBits = dwLength << 3;
    m_dwBitCount[0] += dwBits;
    if (m_dwBitCount[0] < dwBits) {
        ++m_dwBitCount[1];
    }
    m_dwBitCount[1] += dwLength >> 29;

    // Input that leaves the block unfilled only joins the pending bytes; a single byte, as
    // every padding byte comes, is stored without a library call.
    if (dwLength < BLOCK_SIZE - dwPending) {
        if (dwLength == 1) {
            m_byPending[dwPending] = *pbData;
        } else if (dwLength != 0) {
            std::memcpy(m_byPending + dwPending, pbData, dwLength);
        }
        return;
    }

    // The pending block fills up. Written as differences so a length near 2^32 cannot wrap
    // past the buffer's end.
    std::uint32_t dwDone = BLOCK_SIZE - dwPending;
    std::memcpy(m_byPending + dwPending, pbData, dwDone);
    CompressBlock(m_dwState, m_byPending);
    const std::uint32_t dwBlocks = (dwLength - dwDone) / BLOCK_SIZE;
    CompressBlocks(m_dwState, pbData + dwDone, dwBlocks);
    dwDone += dwBlocks * BLOCK_SIZE;
    if (dwLength > dwDone) {
        std::memcpy(m_byPending, pbData + dwDone, dwLength - dwDone);
    }
}

void CSHA1::Finish() {
    // The length trailer, from the count before any padding is added.
    std::uint8_t byCount[8];
    StoreBigEndian(byCount, m_dwBitCount[1]);
    StoreBigEndian(byCount + 4, m_dwBitCount[0]);
    // The one bit that ends the message, zeros up to byte 56 of a block (in a second block when
    // fewer than 8 bytes are left after the bit), then the trailer.
    std::uint32_t dwPending = (m_dwBitCount[0] >> 3) & 63u;
    m_byPending[dwPending++] = 0x80;
    if (dwPending > BLOCK_SIZE - sizeof(byCount)) {
        std::memset(m_byPending + dwPending, 0, BLOCK_SIZE - dwPending);
        CompressBlock(m_dwState, m_byPending);
        dwPending = 0;
    }
    std::memset(m_byPending + dwPending, 0, BLOCK_SIZE - sizeof(byCount) - dwPending);
    std::memcpy(m_byPending + BLOCK_SIZE - sizeof(byCount), byCount, sizeof(byCount));
    CompressBlock(m_dwState, m_byPending);
    // The digest: H0 to H4, each most significant byte first.
    for (int i = 0; i < STATE_WORDS; ++i) {
        StoreBigEndian(m_byDigest + 4 * i, m_dwState[i]);
    }
    // Wipe: nothing of the message stays behind, and the state is not ready for reuse. This
    // leaves what compressing a zero block under a zero chaining value would: a zero schedule
    // in the scratch and kWipedState.
    WipeBytes(m_byPending, sizeof(m_byPending));
    WipeBytes(m_byScratch, sizeof(m_byScratch));
    std::memcpy(m_dwState, kWipedState, sizeof(m_dwState));
    m_dwBitCount[0] = 0;
    m_dwBitCount[1] = 0;
}

void CSHA1::CopyDigest(std::uint8_t* pbDest) const {
    std::memcpy(pbDest, m_byDigest, sizeof(m_byDigest));
}

bool CSHA1::ReadChainingValue(std::uint32_t* pdwState, std::uint64_t& qwBlocks) const {
    const std::uint64_t qwBits = (std::uint64_t{m_dwBitCount[1]} << 32) | m_dwBitCount[0];
    if (qwBits == 0 || qwBits % (8 * BLOCK_SIZE) != 0) {
        return false;
    }
    std::memcpy(pdwState, m_dwState, sizeof(m_dwState));
    qwBlocks = qwBits / (8 * BLOCK_SIZE);
    return true;
}

void CSHA1::RestartFrom(const std::uint32_t* pdwState, std::uint64_t qwBlocks) {
    std::memcpy(m_dwState, pdwState, sizeof(m_dwState));
    // Counted modulo 2^64 bits, like everything taken in.
    const std::uint64_t qwBits = qwBlocks * (8 * BLOCK_SIZE);
    m_dwBitCount[0] = static_cast<std::uint32_t>(qwBits);
    m_dwBitCount[1] = static_cast<std::uint32_t>(qwBits >> 32);
}

// Whole blocks straight from the caller's buffer, one after another.
void CSHA1::CompressBlocks(std::uint32_t* pdwState, const std::uint8_t* pbBlocks,
                           std::uint32_t dwBlocks) {
#if defined(KESTROW_SHA1_SHA_EXTENSIONS)
    if (g_bShaExtensions.load(std::memory_order_relaxed)) {
        Sha1CompressShaExtensions(pdwState, pbBlocks, dwBlocks, m_pdwScratch);
        return;
    }
#endif
    for (std::uint32_t i = 0; i < dwBlocks; ++i) {
        CompressBlock(pdwState, pbBlocks + BLOCK_SIZE * i);
    }
}

void CSHA1::CompressBlock(std::uint32_t* pdwState, const std::uint8_t* pbBlock) {
#if defined(KESTROW_SHA1_SHA_EXTENSIONS)
    if (g_bShaExtensions.load(std::memory_order_relaxed)) {
        Sha1CompressShaExtensions(pdwState, pbBlock, 1, m_pdwScratch);
        return;
    }
#endif
    std::uint32_t* const pdwW = m_pdwScratch;

    std::uint32_t a = pdwState[0];
    std::uint32_t b = pdwState[1];
    std::uint32_t c = pdwState[2];
    std::uint32_t d = pdwState[3];
    std::uint32_t e = pdwState[4];

    SHA1_STEP(Choose, kRound1, a, b, c, d, e, SHA1_LOAD(0));
    SHA1_STEP(Choose, kRound1, e, a, b, c, d, SHA1_LOAD(1));
    SHA1_STEP(Choose, kRound1, d, e, a, b, c, SHA1_LOAD(2));
    SHA1_STEP(Choose, kRound1, c, d, e, a, b, SHA1_LOAD(3));
    SHA1_STEP(Choose, kRound1, b, c, d, e, a, SHA1_LOAD(4));
    SHA1_STEP(Choose, kRound1, a, b, c, d, e, SHA1_LOAD(5));
    SHA1_STEP(Choose, kRound1, e, a, b, c, d, SHA1_LOAD(6));
    SHA1_STEP(Choose, kRound1, d, e, a, b, c, SHA1_LOAD(7));
    SHA1_STEP(Choose, kRound1, c, d, e, a, b, SHA1_LOAD(8));
    SHA1_STEP(Choose, kRound1, b, c, d, e, a, SHA1_LOAD(9));
    SHA1_STEP(Choose, kRound1, a, b, c, d, e, SHA1_LOAD(10));
    SHA1_STEP(Choose, kRound1, e, a, b, c, d, SHA1_LOAD(11));
    SHA1_STEP(Choose, kRound1, d, e, a, b, c, SHA1_LOAD(12));
    SHA1_STEP(Choose, kRound1, c, d, e, a, b, SHA1_LOAD(13));
    SHA1_STEP(Choose, kRound1, b, c, d, e, a, SHA1_LOAD(14));
    SHA1_STEP(Choose, kRound1, a, b, c, d, e, SHA1_LOAD(15));
    SHA1_STEP(Choose, kRound1, e, a, b, c, d, SHA1_EXPAND(16));
    SHA1_STEP(Choose, kRound1, d, e, a, b, c, SHA1_EXPAND(17));
    SHA1_STEP(Choose, kRound1, c, d, e, a, b, SHA1_EXPAND(18));
    SHA1_STEP(Choose, kRound1, b, c, d, e, a, SHA1_EXPAND(19));
    SHA1_STEP(Parity, kRound2, a, b, c, d, e, SHA1_EXPAND(20));
    SHA1_STEP(Parity, kRound2, e, a, b, c, d, SHA1_EXPAND(21));
    SHA1_STEP(Parity, kRound2, d, e, a, b, c, SHA1_EXPAND(22));
    SHA1_STEP(Parity, kRound2, c, d, e, a, b, SHA1_EXPAND(23));
    SHA1_STEP(Parity, kRound2, b, c, d, e, a, SHA1_EXPAND(24));
    SHA1_STEP(Parity, kRound2, a, b, c, d, e, SHA1_EXPAND(25));
    SHA1_STEP(Parity, kRound2, e, a, b, c, d, SHA1_EXPAND(26));
    SHA1_STEP(Parity, kRound2, d, e, a, b, c, SHA1_EXPAND(27));
    SHA1_STEP(Parity, kRound2, c, d, e, a, b, SHA1_EXPAND(28));
    SHA1_STEP(Parity, kRound2, b, c, d, e, a, SHA1_EXPAND(29));
    SHA1_STEP(Parity, kRound2, a, b, c, d, e, SHA1_EXPAND(30));
    SHA1_STEP(Parity, kRound2, e, a, b, c, d, SHA1_EXPAND(31));
    SHA1_STEP(Parity, kRound2, d, e, a, b, c, SHA1_EXPAND(32));
    SHA1_STEP(Parity, kRound2, c, d, e, a, b, SHA1_EXPAND(33));
    SHA1_STEP(Parity, kRound2, b, c, d, e, a, SHA1_EXPAND(34));
    SHA1_STEP(Parity, kRound2, a, b, c, d, e, SHA1_EXPAND(35));
    SHA1_STEP(Parity, kRound2, e, a, b, c, d, SHA1_EXPAND(36));
    SHA1_STEP(Parity, kRound2, d, e, a, b, c, SHA1_EXPAND(37));
    SHA1_STEP(Parity, kRound2, c, d, e, a, b, SHA1_EXPAND(38));
    SHA1_STEP(Parity, kRound2, b, c, d, e, a, SHA1_EXPAND(39));
    SHA1_STEP(Majority, kRound3, a, b, c, d, e, SHA1_EXPAND(40));
    SHA1_STEP(Majority, kRound3, e, a, b, c, d, SHA1_EXPAND(41));
    SHA1_STEP(Majority, kRound3, d, e, a, b, c, SHA1_EXPAND(42));
    SHA1_STEP(Majority, kRound3, c, d, e, a, b, SHA1_EXPAND(43));
    SHA1_STEP(Majority, kRound3, b, c, d, e, a, SHA1_EXPAND(44));
    SHA1_STEP(Majority, kRound3, a, b, c, d, e, SHA1_EXPAND(45));
    SHA1_STEP(Majority, kRound3, e, a, b, c, d, SHA1_EXPAND(46));
    SHA1_STEP(Majority, kRound3, d, e, a, b, c, SHA1_EXPAND(47));
    SHA1_STEP(Majority, kRound3, c, d, e, a, b, SHA1_EXPAND(48));
    SHA1_STEP(Majority, kRound3, b, c, d, e, a, SHA1_EXPAND(49));
    SHA1_STEP(Majority, kRound3, a, b, c, d, e, SHA1_EXPAND(50));
    SHA1_STEP(Majority, kRound3, e, a, b, c, d, SHA1_EXPAND(51));
    SHA1_STEP(Majority, kRound3, d, e, a, b, c, SHA1_EXPAND(52));
    SHA1_STEP(Majority, kRound3, c, d, e, a, b, SHA1_EXPAND(53));
    SHA1_STEP(Majority, kRound3, b, c, d, e, a, SHA1_EXPAND(54));
    SHA1_STEP(Majority, kRound3, a, b, c, d, e, SHA1_EXPAND(55));
    SHA1_STEP(Majority, kRound3, e, a, b, c, d, SHA1_EXPAND(56));
    SHA1_STEP(Majority, kRound3, d, e, a, b, c, SHA1_EXPAND(57));
    SHA1_STEP(Majority, kRound3, c, d, e, a, b, SHA1_EXPAND(58));
    SHA1_STEP(Majority, kRound3, b, c, d, e, a, SHA1_EXPAND(59));
    SHA1_STEP(Parity, kRound4, a, b, c, d, e, SHA1_EXPAND(60));
    SHA1_STEP(Parity, kRound4, e, a, b, c, d, SHA1_EXPAND(61));
    SHA1_STEP(Parity, kRound4, d, e, a, b, c, SHA1_EXPAND(62));
    SHA1_STEP(Parity, kRound4, c, d, e, a, b, SHA1_EXPAND(63));
    SHA1_STEP(Parity, kRound4, b, c, d, e, a, SHA1_EXPAND(64));
    SHA1_STEP(Parity, kRound4, a, b, c, d, e, SHA1_EXPAND(65));
    SHA1_STEP(Parity, kRound4, e, a, b, c, d, SHA1_EXPAND(66));
    SHA1_STEP(Parity, kRound4, d, e, a, b, c, SHA1_EXPAND(67));
    SHA1_STEP(Parity, kRound4, c, d, e, a, b, SHA1_EXPAND(68));
    SHA1_STEP(Parity, kRound4, b, c, d, e, a, SHA1_EXPAND(69));
    SHA1_STEP(Parity, kRound4, a, b, c, d, e, SHA1_EXPAND(70));
    SHA1_STEP(Parity, kRound4, e, a, b, c, d, SHA1_EXPAND(71));
    SHA1_STEP(Parity, kRound4, d, e, a, b, c, SHA1_EXPAND(72));
    SHA1_STEP(Parity, kRound4, c, d, e, a, b, SHA1_EXPAND(73));
    SHA1_STEP(Parity, kRound4, b, c, d, e, a, SHA1_EXPAND(74));
    SHA1_STEP(Parity, kRound4, a, b, c, d, e, SHA1_EXPAND(75));
    SHA1_STEP(Parity, kRound4, e, a, b, c, d, SHA1_EXPAND(76));
    SHA1_STEP(Parity, kRound4, d, e, a, b, c, SHA1_EXPAND(77));
    SHA1_STEP(Parity, kRound4, c, d, e, a, b, SHA1_EXPAND(78));
    SHA1_STEP(Parity, kRound4, b, c, d, e, a, SHA1_EXPAND(79));

    pdwState[0] += a;
    pdwState[1] += b;
    pdwState[2] += c;
    pdwState[3] += d;
    pdwState[4] += e;
}

#undef SHA1_STEP
#undef SHA1_LOAD
#undef SHA1_EXPAND
#undef SHA1_SCHEDULE_BARRIER
