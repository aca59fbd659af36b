#include "tests/support/replacement_allocator.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

// Only the forms everything else reaches: the standard library's own array, nothrow and
// sized forms call these. No product type is over-aligned.
namespace {

// Per thread: no atomics, and another thread's allocations never disturb a measurement.
thread_local std::uint64_t t_nAllocations = 0;
thread_local int t_nFailAfter = -1;
thread_local PFreeWatcher t_pfnWatch = nullptr;

} // namespace

std::uint64_t AllocationCount() {
    return t_nAllocations;
}

void CountAllocation() {
    ++t_nAllocations;
}

void FailAllocationAfter(int nAllocations) {
    t_nFailAfter = nAllocations;
}

void WatchFreedBlocks(PFreeWatcher pfnWatch) {
    t_pfnWatch = pfnWatch;
}

void* operator new(std::size_t cb) {
    if (t_nFailAfter >= 0 && t_nFailAfter-- == 0) {
        throw std::bad_alloc();
    }
    ++t_nAllocations;
    if (void* p = std::malloc(cb == 0 ? 1 : cb)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    if (p != nullptr && t_pfnWatch != nullptr) {
        t_pfnWatch(static_cast<const std::uint8_t*>(p), malloc_usable_size(p));
    }
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
