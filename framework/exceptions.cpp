// Reporting exceptions that escape a handler, before they could reach the system.

#include "framework/exceptions.h"

#include <iterator>
#include <new>

#include "framework/thread_state.h"
#include "framework/win_app.h"

namespace {

const char kUnknownError[] = "An unknown error has occurred.";

// The box for when the framework's cannot be shown (memory is out, say): it allocates
// nothing, and takes an ASCII text as it is; any other the generic text stands for.
void ShowPlainBox(const char* pszText) noexcept {
    WCHAR szText[256] = {};
    for (std::size_t i = 0; i + 1 < std::size(szText) && pszText[i] != '\0'; ++i) {
        if (static_cast<unsigned char>(pszText[i]) >= 0x80) {
            return ShowPlainBox(kUnknownError);
        }
        szText[i] = static_cast<WCHAR>(pszText[i]);
    }
    ::MessageBoxW(nullptr, szText, nullptr, MB_ICONEXCLAMATION | MB_OK);
}

} // namespace

const char* AfxExceptionText(std::exception_ptr pException) noexcept {
    try {
        std::rethrow_exception(pException);
    } catch (const std::bad_alloc&) {
        return "Out of memory.";
    } catch (const std::exception& e) {
        const char* pszWhat = e.what();
        return pszWhat != nullptr && *pszWhat != '\0' ? pszWhat : kUnknownError;
    } catch (...) {
        return kUnknownError;
    }
}

LRESULT AfxProcessWndProcException(HWND hWnd, UINT message) noexcept {
    std::exception_ptr pException = std::current_exception();
    if (message == WM_PAINT && hWnd != nullptr) {
        ::ValidateRect(hWnd, nullptr);
    }
    AfxThreadState& state = AfxGetThreadState();
    if (state.bReporting) {
        ::MessageBeep(MB_ICONEXCLAMATION);
    } else {
        state.bReporting = true;
        const char* pszText = AfxExceptionText(pException);
        try {
            AfxMessageBox(pszText, MB_ICONEXCLAMATION | MB_OK);
        } catch (...) {
            ShowPlainBox(pszText);
        }
        state.bReporting = false;
    }
    return message == WM_CREATE ? -1 : 0;
}
