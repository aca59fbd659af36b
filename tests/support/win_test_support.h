#pragma once
// Support for window tests under Wine (static library kestrow_win_test_support).
//
// CMessageBoxWatcher: while it watches, a helper thread records every message box of
// this process (caption, text, owner, icon, buttons) and dismisses it with a button.
//     CMessageBoxWatcher watcher;                 // starts watching
//     AfxMessageBox("Hello", MB_ICONEXCLAMATION); // returns once the watcher dismissed it
//     std::vector<MessageBoxRecord> boxes = watcher.Stop(); // in the order they appeared
//
// RunModalScript: runs dlg.DoModal() and, once the dialog shows, runs the steps one
// after the other inside its modal loop, about 30 ms apart (what a step posted has been
// handled before the next). A dialog still open 20 s after its last step is ended with
// kModalTimedOut. Not reentrant.

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/afx.h"

// Text that no ANSI code page holds: Greek, Chinese, and a character past the Basic
// Multilingual Plane (U+1F511), which takes two UTF-16 units.
inline const std::string kWorldText = "Ελληνικά 測試 \U0001F511";

struct MessageBoxRecord {
    HWND hWndOwner = nullptr;
    std::string strCaption;
    std::string strText;
    HICON hIcon = nullptr;    // the icon shown, or nullptr
    std::vector<int> buttons; // ids of the buttons present (IDOK, IDCANCEL, IDYES, ...)

    // Whether the box shows the system icon idi (IDI_EXCLAMATION, IDI_ERROR, ...).
    bool HasSystemIcon(LPCSTR idi) const;
};

class CMessageBoxWatcher {
public:
    // Dismisses each box with nDismissWith (IDCANCEL when the box has no such button).
    explicit CMessageBoxWatcher(int nDismissWith = IDOK);
    ~CMessageBoxWatcher() { Stop(); }
    CMessageBoxWatcher(const CMessageBoxWatcher&) = delete;
    CMessageBoxWatcher& operator=(const CMessageBoxWatcher&) = delete;
    // Stops watching; every box seen.
    std::vector<MessageBoxRecord> Stop();

private:
    void Watch();

    int m_nDismissWith;
    std::atomic<bool> m_bStop{false};
    std::vector<MessageBoxRecord> m_boxes; // the watcher thread's until Stop joins it
    std::set<HWND> m_seen;
    std::thread m_thread;
};

constexpr INT_PTR kModalTimedOut = -2;
using ModalStep = std::function<void(CDialog&)>;
INT_PTR RunModalScript(CDialog& dlg, std::vector<ModalStep> steps);

// Handles this thread's messages until fnDone() holds; false when dwTimeoutMs passed.
bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD dwTimeoutMs = 10000);

// nLength units of UTF-16 in UTF-8 (nLength -1: up to the terminator); "(not Unicode)" for
// text that is not.
std::string Utf8(const wchar_t* pch, std::size_t nLength = static_cast<std::size_t>(-1));

// The window's text in UTF-8, read with a timeout (safe across threads); empty without a
// window, "(not Unicode)" for a text that is not.
std::string WindowText(HWND hWnd);
// Sets the window's text from UTF-8, as typing or pasting it would.
void SetText(HWND hWnd, const std::string& strText);

// The dialog box open over hOwner, or nullptr.
HWND BoxOver(HWND hOwner);

// HKEY_CLASSES_ROOT\strKey's default value set to strValue while this lives (Wine does not
// merge the per-user classes into that root); afterwards put back as it was.
class CClassesRootValue {
public:
    CClassesRootValue(const std::string& strKey, const std::string& strValue);
    ~CClassesRootValue();

private:
    std::wstring m_strKey;
    wchar_t m_szOld[1024] = {};
    bool m_bHad;
};

// What the recording helper (record_command_line.exe) wrote to strFile, which is then
// removed: its command line in UTF-8, or "(none)" when it did not run within dwMs.
std::string TakeRecord(const std::string& strFile, DWORD dwMs = 20000);
