// The benchmark runner; OpenSSL's allocator is hooked before OpenSSL allocates anything,
// so its allocations are counted like ours. The report names the CPU and our SHA-1 path.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/alloc_count.h"
#include "crypto/sha1_path.h"

namespace {

// The first processor's name and numbers from /proc/cpuinfo, e.g. "Vendor CPU (family 25,
// model 1)"; the name alone can hide which generation a virtual machine runs on.
std::string CpuModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string strName = "unknown CPU";
    std::string strFamily = "?";
    std::string strModel = "?";
    for (std::string strLine; std::getline(cpuinfo, strLine) && !strLine.empty();) {
        const std::size_t nColon = strLine.find(':');
        if (nColon == std::string::npos) {
            continue;
        }
        const std::string strKey =
            strLine.substr(0, strLine.find_last_not_of(" \t", nColon - 1) + 1);
        const std::string strValue = strLine.substr(std::min(nColon + 2, strLine.size()));
        if (strKey == "model name") {
            strName = strValue;
        } else if (strKey == "cpu family") {
            strFamily = strValue;
        } else if (strKey == "model") {
            strModel = strValue;
        }
    }
    return strName + " (family " + strFamily + ", model " + strModel + ")";
}

} // namespace

int main(int argc, char** argv) {
    if (!CountOpenSslAllocations()) {
        std::fprintf(stderr, "kestrow_bench: OpenSSL allocations are not counted\n");
    }
    benchmark::AddCustomContext("cpu_model", CpuModel());
    benchmark::AddCustomContext("sha1_path", Sha1PathName(Sha1CurrentPath()));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
