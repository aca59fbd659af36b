#pragma once
// Heap allocations of the calling thread, counted by the benchmark binary's own
// operator new (and by OpenSSL's allocator hooks, once installed).

#include <cstdint>

namespace benchmark {
class State;
}

std::uint64_t AllocationCount();

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
