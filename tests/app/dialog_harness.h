#pragma once
// Runs a modal dialog of the program on a thread of its own and lets a test drive it
// from outside, as a user would: posted commands and keys, texts read back from the
// live windows, and every dialog box the thread opens (notice, About) recorded.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

class CDialogHarness {
public:
    CDialogHarness();
    ~CDialogHarness();
    CDialogHarness(const CDialogHarness&) = delete;
    CDialogHarness& operator=(const CDialogHarness&) = delete;

    // Starts fnRunModal (which constructs a dialog and runs DoModal) on the UI thread
    // and waits for its first dialog window; false when none appears.
    bool Start(std::function<INT_PTR()> fnRunModal);
    // Closes what is still open and waits for the UI thread; the DoModal result.
    INT_PTR Stop();
    // Waits for the modal loop to end by itself; false on a timeout.
    bool WaitForEnd(INT_PTR* pnResult = nullptr);

    HWND Dialog() const { return m_hDlg; }
    HWND Item(int nId) const { return GetDlgItem(m_hDlg, nId); }
    std::string Text(int nId) const { return WindowText(Item(nId)); }
    void SetText(int nId, const std::string& str) const;
    // A click as the button sends it: BN_CLICKED posted to its dialog.
    static void Click(HWND hDlg, int nId);
    void Click(int nId) const { Click(m_hDlg, nId); }
    static void PostKey(HWND hWnd, UINT nVirtualKey);
    void PostSysCommand(UINT nCommand) const;

    // Returns once the UI thread has taken every message posted before this call from
    // its queue: the handlers ran, or one of them now waits in a nested modal loop.
    void Sync() const;

    // The top-level dialog boxes created on the UI thread after the main one, in order.
    std::vector<HWND> CreatedDialogs() const;
    // Waits until the n-th (from 0) of those exists; nullptr on a timeout.
    HWND WaitForCreatedDialog(size_t nIndex) const;
    HWND FocusWindow() const;
    DWORD ThreadId() const { return m_dwThreadId; }

    // Polls fnDone until it holds or a generous timeout passes.
    static bool WaitUntil(const std::function<bool()>& fnDone);

private:
    static DWORD WINAPI ThreadMain(LPVOID pParam);

    std::function<INT_PTR()> m_fnRunModal;
    HANDLE m_hThread = nullptr;
    DWORD m_dwThreadId = 0;
    HWND m_hDlg = nullptr;
    INT_PTR m_nResult = -1;
};
