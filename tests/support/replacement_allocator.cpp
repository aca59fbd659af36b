#include "tests/support/replacement_allocator.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

// Per thread: no atomics, and another thread's allocations never disturb a measurement.
thread_local std::uint64_t t_nAllocations = 0;
thread_local int t_nFailAfter = -1;
thread_local PFreeWatcher t_pfnWatch = nullptr;

bool FailsNow() {
    if (t_nFailAfter == 0) {
        t_nFailAfter = -1;
        return true;
    }
    if (t_nFailAfter > 0) {
        --t_nFailAfter;
    }
    return false;
}

void* Allocate(std::size_t cb, std::size_t nAlign = 0) {
    if (FailsNow()) {
        return nullptr;
    }
    ++t_nAllocations;
    if (nAlign == 0) {
        return std::malloc(cb == 0 ? 1 : cb);
    }
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t cbRounded = (cb + nAlign - 1) / nAlign * nAlign;
    return std::aligned_alloc(nAlign, cbRounded == 0 ? nAlign : cbRounded);
}

void* AllocateOrThrow(std::size_t cb, std::size_t nAlign = 0) {
    if (void* p = Allocate(cb, nAlign)) {
        return p;
    }
    throw std::bad_alloc();
}

void Free(void* p) noexcept {
    if (p != nullptr && t_pfnWatch != nullptr) {
        t_pfnWatch(static_cast<const std::uint8_t*>(p), malloc_usable_size(p));
    }
    std::free(p);
}

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
    return AllocateOrThrow(cb);
}

void* operator new[](std::size_t cb) {
    return AllocateOrThrow(cb);
}

void* operator new(std::size_t cb, const std::nothrow_t&) noexcept {
    return Allocate(cb);
}

void* operator new[](std::size_t cb, const std::nothrow_t&) noexcept {
    return Allocate(cb);
}

void* operator new(std::size_t cb, std::align_val_t align) {
    return AllocateOrThrow(cb, static_cast<std::size_t>(align));
}

void* operator new[](std::size_t cb, std::align_val_t align) {
    return AllocateOrThrow(cb, static_cast<std::size_t>(align));
}

void operator delete(void* p) noexcept {
    Free(p);
}

void operator delete[](void* p) noexcept {
    Free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    Free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    Free(p);
}

void operator delete(void* p, std::align_val_t) noexcept {
    Free(p);
}

void operator delete[](void* p, std::align_val_t) noexcept {
    Free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    Free(p);
}

void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    Free(p);
}
