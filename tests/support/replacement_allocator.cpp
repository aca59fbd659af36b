#include "tests/support/replacement_allocator.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

// The plain, array, nothrow and sized forms, which a sanitizer's runtime would otherwise take
// over one by one. No product type is over-aligned.
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

void* operator new[](std::size_t cb) {
    return operator new(cb);
}

void* operator new(std::size_t cb, const std::nothrow_t&) noexcept {
    try {
        return operator new(cb);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t cb, const std::nothrow_t&) noexcept {
    return operator new(cb, std::nothrow);
}

void operator delete(void* p) noexcept {
    if (p != nullptr && t_pfnWatch != nullptr) {
#ifdef _WIN32
        t_pfnWatch(static_cast<const std::uint8_t*>(p), _msize(p));
#else
        t_pfnWatch(static_cast<const std::uint8_t*>(p), malloc_usable_size(p));
#endif
    }
    std::free(p);
}

void operator delete[](void* p) noexcept {
    operator delete(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}
