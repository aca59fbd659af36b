#include "tools/kestrow_sign/cli_io.h"

#include <cstdio>
#include <ctime>

#include "engine/utc_timestamp.h"
#include "tools/kestrow_sign/terminal_text.h"
#include "tools/kestrow_sign/utc_time_parse.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>

#include "tools/kestrow_sign/wide_text.h"
#endif

namespace {

bool WriteStream(std::FILE* pFile, const std::string& strText) {
#if defined(_WIN32)
    // A console would show the UTF-8 bytes in its code page: it takes UTF-16 instead.
    const auto hOutput = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(pFile)));
    DWORD dwMode = 0;
    std::wstring wstrText;
    if (GetConsoleMode(hOutput, &dwMode) && Utf8ToWide(strText, wstrText)) {
        std::fflush(pFile);
        for (std::size_t nDone = 0; nDone < wstrText.size();) {
            DWORD dwWritten = 0;
            if (!WriteConsoleW(hOutput, wstrText.data() + nDone,
                               static_cast<DWORD>(wstrText.size() - nDone), &dwWritten, nullptr) ||
                dwWritten == 0) {
                return false;
            }
            nDone += dwWritten;
        }
        return true;
    }
#endif
    return std::fwrite(strText.data(), 1, strText.size(), pFile) == strText.size() &&
           std::fflush(pFile) == 0;
}

} // namespace

int Report(const SSignError& error) {
    WriteStream(stderr, "kestrow-sign: " + EscapeForTerminal(error.strMessage) + "\n");
    return error.nStatus;
}

bool WriteAll(const std::string& strText) {
    return WriteStream(stdout, strText);
}

bool ResolveTime(bool bHave, const std::string& strTime, const char* pszOption,
                 ESignExit nBadStatus, std::int64_t& tNow, SSignError& error) {
    if (bHave) {
        std::string strError;
        return ParseUtcTime(strTime, tNow, strError) || Fail(error, nBadStatus, strError);
    }
    const std::time_t tClock = std::time(nullptr);
    const auto t = static_cast<std::int64_t>(tClock);
    if (tClock == static_cast<std::time_t>(-1) || t < g_tTimestampMin || t > g_tTimestampMax) {
        return Fail(error, nBadStatus,
                    std::string("the system clock gives no time between 1970 and 3000; use ") +
                        pszOption);
    }
    tNow = t;
    return true;
}
