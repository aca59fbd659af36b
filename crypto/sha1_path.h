#pragma once
// The two compressions behind CSHA1: straight-line integer code that runs anywhere, and one on
// the CPU's SHA extensions, taken whenever CPUID reports them. Not part of the class's
// interface: tests, benchmarks and fuzzers hold a process to the integer path to check or time
// it; the program itself never chooses.

#include <cstdint>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define KESTROW_SHA1_SHA_EXTENSIONS 1
#endif

enum class ESha1Path { Integer, ShaExtensions };

// What the CPU reports, asked once per process.
bool Sha1ShaExtensionsAvailable();
// The path the next compression takes.
ESha1Path Sha1CurrentPath();
// True: every CSHA1 compresses on the integer path from now on; false: back to the best path
// the CPU offers.
void Sha1ForceIntegerPath(bool bForce);
const char* Sha1PathName(ESha1Path ePath);

// Holds the process to the integer path while it lives.
class CSha1IntegerPathScope {
public:
    CSha1IntegerPathScope() { Sha1ForceIntegerPath(true); }
    ~CSha1IntegerPathScope() { Sha1ForceIntegerPath(false); }
    CSha1IntegerPathScope(const CSha1IntegerPathScope&) = delete;
    CSha1IntegerPathScope& operator=(const CSha1IntegerPathScope&) = delete;
};

#if defined(KESTROW_SHA1_SHA_EXTENSIONS)
// CSHA1's compression on the SHA extensions, under the same contract as the integer one, over
// dwBlocks consecutive blocks: each is read through the scratch, which ends holding the last
// block's last sixteen schedule words. The chaining value stays in registers between blocks.
// Call it only when Sha1ShaExtensionsAvailable().
void Sha1CompressShaExtensions(std::uint32_t* pdwState, const std::uint8_t* pbBlocks,
                               std::uint32_t dwBlocks, std::uint32_t* pdwScratch);
#endif
