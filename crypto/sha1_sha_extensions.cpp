#include "crypto/sha1_path.h"

#if defined(KESTROW_SHA1_SHA_EXTENSIONS)

#include <cpuid.h>
#include <immintrin.h>

// Compiled for the SHA extensions whatever the build targets; reached only when CPUID reports
// them.
#define SHA1_SHA_TARGET __attribute__((target("sha,sse4.1")))

namespace {

bool CpuReportsShaExtensions() {
    unsigned int a = 0;
    unsigned int b = 0;
    unsigned int c = 0;
    unsigned int d = 0;
    // Leaf 1: the byte shuffle and the lane extract need SSSE3 and SSE4.1.
    if (__get_cpuid(1, &a, &b, &c, &d) == 0 || (c & bit_SSSE3) == 0 || (c & bit_SSE4_1) == 0) {
        return false;
    }
    // Leaf 7, subleaf 0: the SHA extensions.
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) != 0 && (b & bit_SHA) != 0;
}

// Words 4i to 4i + 3 of the block go into the scratch as numbers and are read back from there,
// the first of them in the top lane, where sha1rnds4 and the schedule instructions want it.
SHA1_SHA_TARGET inline __m128i LoadWords(const std::uint8_t* pbBlock, std::uint32_t* pdwScratch,
                                         int i) {
    const __m128i vByteSwap = _mm_set_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3);
    const __m128i vBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pbBlock) + i);
    __m128i* const pvScratch = reinterpret_cast<__m128i*>(pdwScratch) + i;
    _mm_storeu_si128(pvScratch, _mm_shuffle_epi8(vBytes, vByteSwap));
    return _mm_shuffle_epi32(_mm_loadu_si128(pvScratch), 0x1B);
}

SHA1_SHA_TARGET inline void StoreWords(std::uint32_t* pdwScratch, int i, const __m128i& vWords) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pdwScratch) + i, _mm_shuffle_epi32(vWords, 0x1B));
}

// The next four schedule words from the sixteen before them, given oldest group first.
SHA1_SHA_TARGET inline __m128i NextWords(const __m128i& vW16, const __m128i& vW12,
                                         const __m128i& vW8, const __m128i& vW4) {
    return _mm_sha1msg2_epu32(_mm_xor_si128(_mm_sha1msg1_epu32(vW16, vW12), vW8), vW4);
}

// Four steps with the logical function and constant nFunction (0 to 3). Their E is A from
// before the previous four steps, rotated, which sha1nexte adds to the first word.
template <int nFunction>
SHA1_SHA_TARGET inline void FourSteps(__m128i& vAbcd, __m128i& vAbcdBefore, const __m128i& vWords) {
    const __m128i vWordsAndE = _mm_sha1nexte_epu32(vAbcdBefore, vWords);
    vAbcdBefore = vAbcd;
    vAbcd = _mm_sha1rnds4_epu32(vAbcd, vWordsAndE, nFunction);
}

// One block on the chaining value held in registers: A to D in vAbcdState, A in the top lane;
// E in the top lane of vEState, whose other lanes stay zero.
SHA1_SHA_TARGET inline void CompressInRegisters(__m128i& vAbcdState, __m128i& vEState,
                                                const std::uint8_t* pbBlock,
                                                std::uint32_t* pdwScratch) {
    __m128i vW0 = LoadWords(pbBlock, pdwScratch, 0);
    __m128i vW1 = LoadWords(pbBlock, pdwScratch, 1);
    __m128i vW2 = LoadWords(pbBlock, pdwScratch, 2);
    __m128i vW3 = LoadWords(pbBlock, pdwScratch, 3);

    const __m128i vAbcdIn = vAbcdState;
    const __m128i vEIn = vEState;

    // The schedule is a queue of four groups of four words: each new group replaces the oldest.
    __m128i vAbcdBefore = vAbcdIn;
    __m128i vAbcd = _mm_sha1rnds4_epu32(vAbcdIn, _mm_add_epi32(vEIn, vW0), 0); // steps 0-3
    FourSteps<0>(vAbcd, vAbcdBefore, vW1);
    FourSteps<0>(vAbcd, vAbcdBefore, vW2);
    FourSteps<0>(vAbcd, vAbcdBefore, vW3);
    vW0 = NextWords(vW0, vW1, vW2, vW3); // words 16-19
    FourSteps<0>(vAbcd, vAbcdBefore, vW0);
    vW1 = NextWords(vW1, vW2, vW3, vW0);
    FourSteps<1>(vAbcd, vAbcdBefore, vW1); // steps 20-23
    vW2 = NextWords(vW2, vW3, vW0, vW1);
    FourSteps<1>(vAbcd, vAbcdBefore, vW2);
    vW3 = NextWords(vW3, vW0, vW1, vW2);
    FourSteps<1>(vAbcd, vAbcdBefore, vW3);
    vW0 = NextWords(vW0, vW1, vW2, vW3);
    FourSteps<1>(vAbcd, vAbcdBefore, vW0);
    vW1 = NextWords(vW1, vW2, vW3, vW0);
    FourSteps<1>(vAbcd, vAbcdBefore, vW1);
    vW2 = NextWords(vW2, vW3, vW0, vW1);
    FourSteps<2>(vAbcd, vAbcdBefore, vW2); // steps 40-43
    vW3 = NextWords(vW3, vW0, vW1, vW2);
    FourSteps<2>(vAbcd, vAbcdBefore, vW3);
    vW0 = NextWords(vW0, vW1, vW2, vW3);
    FourSteps<2>(vAbcd, vAbcdBefore, vW0);
    vW1 = NextWords(vW1, vW2, vW3, vW0);
    FourSteps<2>(vAbcd, vAbcdBefore, vW1);
    vW2 = NextWords(vW2, vW3, vW0, vW1);
    FourSteps<2>(vAbcd, vAbcdBefore, vW2);
    vW3 = NextWords(vW3, vW0, vW1, vW2);
    FourSteps<3>(vAbcd, vAbcdBefore, vW3); // steps 60-63
    vW0 = NextWords(vW0, vW1, vW2, vW3);
    FourSteps<3>(vAbcd, vAbcdBefore, vW0);
    vW1 = NextWords(vW1, vW2, vW3, vW0);
    FourSteps<3>(vAbcd, vAbcdBefore, vW1);
    vW2 = NextWords(vW2, vW3, vW0, vW1);
    FourSteps<3>(vAbcd, vAbcdBefore, vW2);
    vW3 = NextWords(vW3, vW0, vW1, vW2);
    FourSteps<3>(vAbcd, vAbcdBefore, vW3); // steps 76-79

    // E after step 79 is A from before step 76, rotated; sha1nexte adds it to E's old value.
    vEState = _mm_sha1nexte_epu32(vAbcdBefore, vEIn);
    vAbcdState = _mm_add_epi32(vAbcd, vAbcdIn);

    // The scratch ends as the integer path leaves it: words 64 to 79, the oldest first.
    StoreWords(pdwScratch, 0, vW0);
    StoreWords(pdwScratch, 1, vW1);
    StoreWords(pdwScratch, 2, vW2);
    StoreWords(pdwScratch, 3, vW3);
}

} // namespace

bool Sha1ShaExtensionsAvailable() {
    static const bool bAvailable = CpuReportsShaExtensions();
    return bAvailable;
}

SHA1_SHA_TARGET void Sha1CompressShaExtensions(std::uint32_t* pdwState,
                                               const std::uint8_t* pbBlocks, std::uint32_t dwBlocks,
                                               std::uint32_t* pdwScratch) {
    __m128i vAbcdState =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pdwState)), 0x1B);
    __m128i vEState = _mm_set_epi32(static_cast<int>(pdwState[4]), 0, 0, 0);
    for (std::uint32_t i = 0; i < dwBlocks; ++i) {
        CompressInRegisters(vAbcdState, vEState, pbBlocks + 64 * i, pdwScratch);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pdwState), _mm_shuffle_epi32(vAbcdState, 0x1B));
    pdwState[4] = static_cast<std::uint32_t>(_mm_extract_epi32(vEState, 3));
}

#else

bool Sha1ShaExtensionsAvailable() {
    return false;
}

#endif
