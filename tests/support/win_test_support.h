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

// The window's text, read with a timeout (safe across threads); empty without a window.
std::string WindowText(HWND hWnd);

// HKEY_CLASSES_ROOT\strKey's default value set to strValue while this lives (Wine does not
// merge the per-user classes into that root); afterwards put back as it was.
class CClassesRootValue {
public:
    CClassesRootValue(std::string strKey, const std::string& strValue);
    ~CClassesRootValue();

private:
    std::string m_strKey;
    char m_szOld[1024] = {};
    bool m_bHad;
};

// What the recording helper (record_command_line.exe) wrote to strFile, which is then
// removed: its command line, or "(none)" when it did not run within dwMs.
std::string TakeRecord(const std::string& strFile, DWORD dwMs = 20000);
