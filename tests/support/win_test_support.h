#pragma once
// Support for window tests under Wine (static library kestrow_win_test_support).
//
// CMessageBoxWatcher: a helper thread watches for message boxes of this process (class
// "#32770" with the message text in static 0xFFFF, not a framework dialog), records each
// one's caption, text, window style, icon and owner, and dismisses it with a button.
//
//     CMessageBoxWatcher watcher;                  // starts watching
//     AfxMessageBox("Hello", MB_ICONEXCLAMATION);  // returns once the watcher dismissed it
//     std::vector<MessageBoxRecord> boxes = watcher.Stop();  // in the order they appeared
//     EXPECT_EQ("Hello", boxes.at(0).strText);
//     EXPECT_TRUE(boxes.at(0).HasSystemIcon(IDI_EXCLAMATION));
//
// RunModalScript: runs dlg.DoModal() on this thread and, once the dialog is visible,
// runs the steps one after the other inside its modal loop (from a thread timer, about
// 30 ms apart, so what a step posted has been handled before the next). A step may post
// or send messages, check state, or end the dialog. If the dialog is still open 20 s
// after the last step, it is ended with kModalTimedOut. Not reentrant.
//
//     INT_PTR n = RunModalScript(dlg, {
//         [](CDialog& d) { ::PostMessageA(d.m_hWnd, WM_COMMAND, IDCANCEL, 0); },
//     });
//
// PumpMessagesUntil: handles this thread's messages until a condition holds (or a
// timeout passes); for modeless windows.

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/afx.h"

struct MessageBoxRecord {
    HWND hWnd = nullptr;
    HWND hWndOwner = nullptr;
    std::string strCaption;
    std::string strText;
    LONG nWindowStyle = 0;    // GetWindowLong(GWL_STYLE) of the box
    HICON hIcon = nullptr;    // the icon shown, or nullptr
    std::vector<int> buttons; // ids of the buttons present (IDOK, IDCANCEL, IDYES, ...)

    // Whether the box shows the system icon idi (IDI_EXCLAMATION, IDI_ERROR, ...).
    bool HasSystemIcon(LPCSTR idi) const;
    bool HasButton(int nId) const;
};

class CMessageBoxWatcher {
public:
    // Dismisses each box with button nDismissWith (IDCANCEL when the box has no such
    // button).
    explicit CMessageBoxWatcher(int nDismissWith = IDOK);
    ~CMessageBoxWatcher();
    CMessageBoxWatcher(const CMessageBoxWatcher&) = delete;
    CMessageBoxWatcher& operator=(const CMessageBoxWatcher&) = delete;

    // Stops watching; every box seen so far.
    std::vector<MessageBoxRecord> Stop();
    // The boxes seen so far.
    std::vector<MessageBoxRecord> Boxes() const;
    // Waits (pumping this thread's messages) until n boxes were seen; false on timeout.
    bool WaitForCount(std::size_t n, DWORD dwTimeoutMs = 10000) const;

private:
    void Watch();
    static BOOL CALLBACK InspectTopLevel(HWND hWnd, LPARAM lParam);
    void Inspect(HWND hWnd);

    int m_nDismissWith;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    std::vector<MessageBoxRecord> m_boxes;
    std::set<HWND> m_seen;
    std::thread m_thread;
};

// Whether hWnd is a message box of this process (see above).
bool IsMessageBoxWindow(HWND hWnd);

constexpr INT_PTR kModalTimedOut = -2;
using ModalStep = std::function<void(CDialog&)>;
INT_PTR RunModalScript(CDialog& dlg, std::vector<ModalStep> steps);

// Handles this thread's messages until fnDone() holds; false when dwTimeoutMs passed.
bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD dwTimeoutMs = 10000);
// Handles this thread's messages for dwMs.
void PumpMessagesFor(DWORD dwMs);

// The window's text, read with a timeout (safe across threads).
std::string WindowText(HWND hWnd);
