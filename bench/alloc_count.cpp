#include "bench/alloc_count.h"

#include <benchmark/benchmark.h>
#include <openssl/crypto.h>

#include <cstdlib>

#include "tests/support/replacement_allocator.h"

namespace {

void* OpenSslMalloc(std::size_t cb, const char*, int) {
    CountAllocation();
    return std::malloc(cb == 0 ? 1 : cb);
}

void* OpenSslRealloc(void* p, std::size_t cb, const char*, int) {
    CountAllocation();
    return std::realloc(p, cb);
}

void OpenSslFree(void* p, const char*, int) {
    std::free(p);
}

} // namespace

bool CountOpenSslAllocations() {
    return CRYPTO_set_mem_functions(OpenSslMalloc, OpenSslRealloc, OpenSslFree) == 1;
}

void CAllocationMeter::Report(benchmark::State& state) const {
    state.counters["allocs/op"] = benchmark::Counter(
        static_cast<double>(AllocationCount() - m_nStart), benchmark::Counter::kAvgIterations);
}
