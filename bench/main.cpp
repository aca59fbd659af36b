// The benchmark runner; OpenSSL's allocator is hooked before OpenSSL allocates anything,
// so its allocations are counted like ours.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/alloc_count.h"

int main(int argc, char** argv) {
    if (!CountOpenSslAllocations()) {
        std::fprintf(stderr, "kestrow_bench: OpenSSL allocations are not counted\n");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
