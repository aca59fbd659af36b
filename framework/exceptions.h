#pragma once
// No C++ exception may unwind through a Win32 callback. The framework's window and
// dialog procedures and its message loops catch what a handler lets escape and report
// it here, the framework's way: a message box with the exception's text ("Out of
// memory." for std::bad_alloc). The window stays usable.

#include <exception>

#include "framework/win32.h"

// The text a report shows for the exception being handled (call inside a catch block).
const char* AfxExceptionText(std::exception_ptr pException) noexcept;

// Reports the current exception (call inside a catch block) for a message of hWnd and
// returns the result the window procedure gives: -1 for WM_CREATE (creation fails),
// 0 otherwise. A WM_PAINT is validated first so that it does not come back at once.
// While a report is shown, further reports on the thread only beep.
LRESULT AfxProcessWndProcException(HWND hWnd, UINT message) noexcept;

// Thrown by CDataExchange::Fail to end an exchange; UpdateData catches it.
class CUserException : public std::exception {
public:
    const char* what() const noexcept override { return "The data exchange failed."; }
};
