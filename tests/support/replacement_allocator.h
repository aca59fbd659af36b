#pragma once
// The program's own operator new and delete, over malloc and free, for the programs that
// look at their allocations: counted per thread, made to fail on demand, and shown to a
// watcher as each block is freed. Link replacement_allocator.cpp into the program.

#include <cstddef>
#include <cstdint>

// Allocations of the calling thread so far, by operator new and CountAllocation.
std::uint64_t AllocationCount();
// Counts an allocation made past operator new (another library's allocator hooks).
void CountAllocation();

// The allocation nAllocations from now, on this thread, throws std::bad_alloc; below 0,
// none does.
void FailAllocationAfter(int nAllocations);

// pfnWatch sees every block of this thread as operator delete is about to free it, the whole
// usable size of it; nullptr stops watching. It must not allocate.
using PFreeWatcher = void (*)(const std::uint8_t* pbBlock, std::size_t cbBlock);
void WatchFreedBlocks(PFreeWatcher pfnWatch);
