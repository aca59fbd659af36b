#include "bench/alloc_count.h"

#include <benchmark/benchmark.h>
#include <openssl/crypto.h>

#include <cstdlib>
#include <new>

namespace {

// Per thread, so the count needs no atomic and measures only the benchmark's own thread.
thread_local std::uint64_t t_nAllocations = 0;

void* CountedAlloc(std::size_t cb) {
    ++t_nAllocations;
    return std::malloc(cb == 0 ? 1 : cb);
}

void* CountedAlignedAlloc(std::size_t cb, std::align_val_t align) {
    ++t_nAllocations;
    const std::size_t nAlign = static_cast<std::size_t>(align);
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t cbRounded = (cb + nAlign - 1) / nAlign * nAlign;
    return std::aligned_alloc(nAlign, cbRounded == 0 ? nAlign : cbRounded);
}

void* OpenSslMalloc(std::size_t cb, const char*, int) {
    return CountedAlloc(cb);
}

void* OpenSslRealloc(void* p, std::size_t cb, const char*, int) {
    ++t_nAllocations;
    return std::realloc(p, cb);
}

void OpenSslFree(void* p, const char*, int) {
    std::free(p);
}

} // namespace

std::uint64_t AllocationCount() {
    return t_nAllocations;
}

bool CountOpenSslAllocations() {
    return CRYPTO_set_mem_functions(OpenSslMalloc, OpenSslRealloc, OpenSslFree) == 1;
}

void CAllocationMeter::Report(benchmark::State& state) const {
    state.counters["allocs/op"] = benchmark::Counter(
        static_cast<double>(AllocationCount() - m_nStart), benchmark::Counter::kAvgIterations);
}

void* operator new(std::size_t cb) {
    if (void* p = CountedAlloc(cb)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t cb) {
    return ::operator new(cb);
}

void* operator new(std::size_t cb, const std::nothrow_t&) noexcept {
    return CountedAlloc(cb);
}

void* operator new[](std::size_t cb, const std::nothrow_t&) noexcept {
    return CountedAlloc(cb);
}

void* operator new(std::size_t cb, std::align_val_t align) {
    if (void* p = CountedAlignedAlloc(cb, align)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t cb, std::align_val_t align) {
    return ::operator new(cb, align);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
