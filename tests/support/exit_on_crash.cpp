// Linked into every Windows test program: a crash ends the program at once with a failure
// status. Left to Wine, the crash debugger decides the status (in a fresh prefix even 0,
// a pass) or waits on its dialog until the test times out.

#include <windows.h>

#include <cstdio>

namespace {

LONG WINAPI ExitOnCrash(EXCEPTION_POINTERS* pInfo) {
    std::fprintf(stderr, "test program crashed: exception 0x%08lx\n",
                 pInfo->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

const LPTOP_LEVEL_EXCEPTION_FILTER g_pfnPrevious = ::SetUnhandledExceptionFilter(&ExitOnCrash);

} // namespace
