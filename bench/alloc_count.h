#pragma once
// Heap allocations of the calling thread, counted by the program's own operator new
// (tests/support/replacement_allocator) and by OpenSSL's allocator hooks, once installed.

#include <cstdint>

#include "tests/support/replacement_allocator.h"

namespace benchmark {
class State;
}

// Routes OpenSSL's allocations through the counter. Must run before OpenSSL allocates
// anything; false when that moment has passed.
bool CountOpenSslAllocations();

// Reports the allocations made since construction as "allocs/op".
class CAllocationMeter {
public:
    CAllocationMeter() : m_nStart(AllocationCount()) {}
    void Report(benchmark::State& state) const;

private:
    std::uint64_t m_nStart;
};
