// What a click on a CHyperLink does: open the URL with the shell, else with the
// command registered for web pages, and explain a failure.

#include "controls/hyperlink.h"
#include "controls/launch_command.h"

#include <shellapi.h>

#include <cstring>

namespace {

// Twice the platform's path limit: the class name, then the registry path of its
// open command, then the command line.
constexpr std::size_t kCommandBufferSize = 2 * MAX_PATH;

bool IsAnsiLeadByte(unsigned char by) {
    return ::IsDBCSLeadByte(by) != FALSE;
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
        ::ShellExecuteA(nullptr, "open", lpszUrl, nullptr, nullptr, nShowCmd)));
    if (nShellResult > 32) {
        return nShellResult;
    }

    char szCommand[kCommandBufferSize];
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, ".htm", szCommand) != ERROR_SUCCESS) {
        return nShellResult;
    }
    // The class name is shorter than MAX_PATH, so the path fits the buffer.
    ::lstrcatA(szCommand, "\\shell\\open\\command");
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, szCommand, szCommand) != ERROR_SUCCESS) {
        return nShellResult;
    }
    // Never start a cut-off command line: the user sees the shell's error instead.
    if (!MakeLaunchCommandLine(szCommand, lpszUrl, szCommand, sizeof(szCommand), IsAnsiLeadByte)) {
        return nShellResult;
    }
    return static_cast<int>(::WinExec(szCommand, static_cast<UINT>(nShowCmd)));
}

LONG CHyperLink::ReadKeyDefault(HKEY hKeyRoot, LPCSTR lpszSubKey, LPSTR lpszOut) {
    HKEY hKey = nullptr;
    LONG lStatus = ::RegOpenKeyExA(hKeyRoot, lpszSubKey, 0, KEY_QUERY_VALUE, &hKey);
    if (lStatus != ERROR_SUCCESS) {
        return lStatus;
    }

    char szValue[MAX_PATH];
    DWORD dwType = REG_NONE;
    DWORD cbValue = sizeof(szValue);
    lStatus = ::RegQueryValueExA(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue),
                                 &cbValue);
    ::RegCloseKey(hKey);
    if (lStatus != ERROR_SUCCESS) {
        return lStatus; // no default value, or longer than the buffer
    }
    if (dwType != REG_SZ) {
        return ERROR_INVALID_DATA;
    }
    // The stored text need not carry its terminating zero.
    const void* pTerminator = std::memchr(szValue, '\0', cbValue);
    const std::size_t cchValue =
        pTerminator != nullptr ? static_cast<const char*>(pTerminator) - szValue : cbValue;
    if (cchValue >= sizeof(szValue)) {
        return ERROR_MORE_DATA;
    }
    szValue[cchValue] = '\0';
    ::lstrcpyA(lpszOut, szValue);
    return ERROR_SUCCESS;
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
