#include "framework/secure_wipe.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cstring>
#endif

void SecureWipe(void* pv, std::size_t cb) noexcept {
    if (pv == nullptr || cb == 0) {
        return;
    }
#if defined(_WIN32)
    SecureZeroMemory(pv, cb);
#elif defined(__GLIBC__) || defined(__FreeBSD__) || defined(__OpenBSD__)
    explicit_bzero(pv, cb);
#else
    std::memset(pv, 0, cb);
    // The memory counts as read, so the stores above cannot be dropped.
    __asm__ __volatile__("" : : "r"(pv) : "memory");
#endif
}
