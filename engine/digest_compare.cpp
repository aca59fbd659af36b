#include "engine/digest_compare.h"

std::uint8_t DigestDifference(const std::uint8_t* pbA, const std::uint8_t* pbB, std::size_t cb) {
    unsigned nDifference = 0;
    for (std::size_t i = 0; i < cb; ++i) {
        nDifference |= static_cast<unsigned>(pbA[i] ^ pbB[i]);
#if defined(__GNUC__)
        // The optimiser may not reason about the value past this point, so it cannot stop
        // the loop early once the result is settled.
        __asm__ volatile("" : "+r"(nDifference));
#endif
    }
    return static_cast<std::uint8_t>(nDifference);
}
