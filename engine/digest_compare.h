#pragma once
// Comparison of digests in time that does not depend on their contents, so that a
// service's answer leaks nothing about how much of a guessed signature was right.

#include <cstddef>
#include <cstdint>

// The OR of a[i] XOR b[i] over all cb bytes: zero exactly when they are equal. Every byte
// is read whatever the first difference, and there is no branch on the data.
std::uint8_t DigestDifference(const std::uint8_t* pbA, const std::uint8_t* pbB, std::size_t cb);

inline bool DigestsEqual(const std::uint8_t* pbA, const std::uint8_t* pbB, std::size_t cb) {
    return DigestDifference(pbA, pbB, cb) == 0;
}
