// Reporting exceptions that escape a handler, before they could reach the system.

#include "framework/exceptions.h"

#include <new>

#include "framework/thread_state.h"
#include "framework/win_app.h"

namespace {
const char kUnknownError[] = "An unknown error has occurred.";
}

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
            ::MessageBoxA(nullptr, pszText, nullptr, MB_ICONEXCLAMATION | MB_OK);
        }
        state.bReporting = false;
    }
    return message == WM_CREATE ? -1 : 0;
}
