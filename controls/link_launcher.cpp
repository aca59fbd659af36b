// What a click on a CHyperLink does: open the URL with the shell, else with the
// command registered for web pages, and explain a failure.

#include "controls/hyperlink.h"
#include "controls/launch_command.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

namespace {

// Twice the platform's path limit, in bytes of UTF-8: the longest command line started.
constexpr std::size_t kCommandBufferSize = 2 * MAX_PATH;

// Starts a command line and answers as the system's old launcher of programs did, whose
// codes the error box explains: 33 when it started; else the system's error when it is
// one of the small ones (file or path not found, say), else ERROR_BAD_FORMAT.
int StartCommand(const char* pszCommandLine, int nShowCmd) {
    // The system may write into the command line it is given: a copy of its own.
    std::wstring strCommandLine(CWideText(pszCommandLine).GetString());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(nShowCmd);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi)) {
        const DWORD dwError = ::GetLastError();
        return dwError < 32 ? static_cast<int>(dwError) : ERROR_BAD_FORMAT;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return 33;
}

struct LaunchErrorText {
    int nCode;
    const char* pszText;
};

const LaunchErrorText g_launchErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {SE_ERR_FNF, "The specified file was not found."},
    {SE_ERR_PNF, "The specified path was not found."},
    {SE_ERR_ACCESSDENIED, "The operating system denied\naccess to the specified file."},
    {SE_ERR_OOM, "There was not enough memory to complete the operation."},
    {ERROR_BAD_FORMAT, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {SE_ERR_SHARE, "A sharing violation occurred. "},
    {SE_ERR_ASSOCINCOMPLETE, "The filename association is\nincomplete or invalid."},
    {SE_ERR_DDETIMEOUT,
     "The DDE transaction could not\nbe completed because the request timed out."},
    {SE_ERR_DDEFAIL, "The DDE transaction failed."},
    {SE_ERR_DDEBUSY, "The DDE transaction could not\nbe completed because other DDE "
                     "transactions\nwere being processed."},
    {SE_ERR_NOASSOC, "There is no application associated\nwith the given filename extension."},
    {SE_ERR_DLLNOTFOUND, "The specified dynamic-link library was not found."},
};

} // namespace

void CHyperLink::OnLinkClicked() {
    // The timer goes on running: its next tick outside the control ends hovering
    // again, harmlessly.
    m_bHovering = FALSE;
    const int nResult = LaunchLink(m_strLinkUrl, SW_SHOW);
    m_bLinkVisited = nResult > 32;
    if (nResult > 32) {
        SetLinkVisited(TRUE);
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowLaunchError(nResult);
    }
}

int CHyperLink::LaunchLink(LPCSTR lpszUrl, int nShowCmd) {
    const int nShellResult = static_cast<int>(reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", CWideText(lpszUrl), nullptr, nullptr, nShowCmd)));
    if (nShellResult > 32) {
        return nShellResult;
    }

    CString strClass;
    CString strCommand;
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, ".htm", strClass) != ERROR_SUCCESS ||
        ReadKeyDefault(HKEY_CLASSES_ROOT, strClass + "\\shell\\open\\command", strCommand) !=
            ERROR_SUCCESS) {
        return nShellResult;
    }
    // Never start a cut-off command line: the user sees the shell's error instead. In UTF-8
    // no character holds the bytes of "%1", so the plain search is exact.
    char szCommand[kCommandBufferSize];
    if (!MakeLaunchCommandLine(strCommand, lpszUrl, szCommand, sizeof(szCommand))) {
        return nShellResult;
    }
    return StartCommand(szCommand, nShowCmd);
}

LONG CHyperLink::ReadKeyDefault(HKEY hKeyRoot, LPCSTR lpszSubKey, CString& rOut) {
    HKEY hKey = nullptr;
    LONG lStatus = ::RegOpenKeyExW(hKeyRoot, CWideText(lpszSubKey), 0, KEY_QUERY_VALUE, &hKey);
    if (lStatus != ERROR_SUCCESS) {
        return lStatus;
    }

    WCHAR szValue[MAX_PATH];
    DWORD dwType = REG_NONE;
    DWORD cbValue = sizeof(szValue);
    lStatus = ::RegQueryValueExW(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue),
                                 &cbValue);
    ::RegCloseKey(hKey);
    if (lStatus != ERROR_SUCCESS) {
        return lStatus; // no default value, or longer than the buffer
    }
    if (dwType != REG_SZ) {
        return ERROR_INVALID_DATA;
    }
    // The stored text need not carry its terminating zero.
    const WCHAR* pBegin = szValue;
    const WCHAR* pEnd = pBegin + cbValue / sizeof(WCHAR);
    const std::size_t cchValue = static_cast<std::size_t>(std::find(pBegin, pEnd, L'\0') - pBegin);
    if (cchValue >= MAX_PATH) {
        return ERROR_MORE_DATA;
    }
    return AfxFromWide(szValue, cchValue, rOut) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

void CHyperLink::ShowLaunchError(int nCode) {
    CString strReason;
    for (const LaunchErrorText& error : g_launchErrors) {
        if (error.nCode == nCode) {
            strReason = error.pszText;
            break;
        }
    }
    if (strReason.IsEmpty()) {
        strReason.Format("Unknown Error (%d) occurred.", nCode);
    }
    AfxMessageBox(CString("Unable to open hyperlink:\n\n") + strReason, MB_ICONEXCLAMATION | MB_OK);
}
