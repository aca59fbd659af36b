#pragma once
// Overwriting secrets before their memory is given back, in a way the optimiser keeps even
// when the memory is never read again.

#include <cstddef>

// cb zero bytes at pv.
void SecureWipe(void* pv, std::size_t cb) noexcept;

// Every element a standard string or vector has room for, up to its capacity, then empties it;
// its buffer stays allocated. Allocates nothing.
template <class TContainer> void SecureWipeContainer(TContainer& container) noexcept {
    // Growing within the capacity reallocates nothing, and makes the whole buffer addressable.
    container.resize(container.capacity());
    SecureWipe(container.data(), container.size() * sizeof(*container.data()));
    container.clear();
}
