#include "tests/app/dialog_harness.h"

#include <atomic>
#include <mutex>

namespace {

const UINT WM_HARNESS_SYNC = WM_APP + 0x3A7;

// One UI thread at a time; its hooks report here.
std::mutex g_mutex;
std::vector<HWND> g_created;
std::atomic<LONG> g_nSyncSeen{0};
HHOOK g_hCbtHook = nullptr;
HHOOK g_hMsgHook = nullptr;

LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* pCreate = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        const HWND hWnd = reinterpret_cast<HWND>(wParam);
        char szClass[16] = {};
        GetClassNameA(hWnd, szClass, sizeof szClass);
        if ((pCreate->lpcs->style & WS_CHILD) == 0 && lstrcmpA(szClass, "#32770") == 0) {
            std::lock_guard<std::mutex> lock(g_mutex);
            g_created.push_back(hWnd);
        }
    }
    return CallNextHookEx(g_hCbtHook, nCode, wParam, lParam);
}

LRESULT CALLBACK GetMsgProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_HARNESS_SYNC) {
        LONG nSeen = g_nSyncSeen.load();
        const LONG nSequence = static_cast<LONG>(pMsg->wParam);
        while (nSequence > nSeen && !g_nSyncSeen.compare_exchange_weak(nSeen, nSequence)) {
        }
    }
    return CallNextHookEx(g_hMsgHook, nCode, wParam, lParam);
}

} // namespace

CDialogHarness::CDialogHarness() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_created.clear();
}

CDialogHarness::~CDialogHarness() {
    if (m_hThread != nullptr) {
        Stop();
    }
}

DWORD WINAPI CDialogHarness::ThreadMain(LPVOID pParam) {
    CDialogHarness* pSelf = static_cast<CDialogHarness*>(pParam);
    g_hCbtHook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    g_hMsgHook = SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, nullptr, GetCurrentThreadId());
    pSelf->m_nResult = pSelf->m_fnRunModal();
    UnhookWindowsHookEx(g_hMsgHook);
    UnhookWindowsHookEx(g_hCbtHook);
    return 0;
}

bool CDialogHarness::Start(std::function<INT_PTR()> fnRunModal) {
    m_fnRunModal = std::move(fnRunModal);
    m_hThread = CreateThread(nullptr, 0, ThreadMain, this, 0, &m_dwThreadId);
    if (m_hThread == nullptr) {
        return false;
    }
    WaitUntil([this] {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_created.empty() && IsWindowVisible(g_created.front())) {
            m_hDlg = g_created.front();
        }
        return m_hDlg != nullptr || WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0;
    });
    // Let the dialog finish its initialisation (focus, first painting) before tests look.
    if (m_hDlg != nullptr) {
        Sync();
    }
    return m_hDlg != nullptr;
}

bool CDialogHarness::WaitForEnd(INT_PTR* pnResult) {
    if (m_hThread == nullptr) {
        return false;
    }
    if (WaitForSingleObject(m_hThread, 20000) != WAIT_OBJECT_0) {
        return false;
    }
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    if (pnResult != nullptr) {
        *pnResult = m_nResult;
    }
    return true;
}

INT_PTR CDialogHarness::Stop() {
    if (m_hThread == nullptr) {
        return m_nResult;
    }
    // Innermost first: boxes opened over the main dialog end before it can.
    for (int nRound = 0; nRound < 50 && WaitForSingleObject(m_hThread, 0) != WAIT_OBJECT_0;
         ++nRound) {
        std::vector<HWND> open;
        for (HWND hWnd : CreatedDialogs()) {
            if (IsWindow(hWnd)) {
                open.push_back(hWnd);
            }
        }
        if (m_hDlg != nullptr && IsWindow(m_hDlg)) {
            open.push_back(m_hDlg);
        }
        if (!open.empty()) {
            PostMessageA(open.front(), WM_COMMAND, IDCANCEL, 0);
        }
        WaitForSingleObject(m_hThread, 200);
    }
    INT_PTR nResult = -1;
    WaitForEnd(&nResult);
    return nResult;
}

void CDialogHarness::SetText(int nId, const std::string& str) const {
    SendMessageA(Item(nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(str.c_str()));
}

void CDialogHarness::Click(HWND hDlg, int nId) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

void CDialogHarness::PostKey(HWND hWnd, UINT nVirtualKey) {
    const UINT nScan = MapVirtualKeyA(nVirtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(hWnd, WM_KEYDOWN, nVirtualKey, 1 | (nScan << 16));
    PostMessageA(hWnd, WM_KEYUP, nVirtualKey, 1 | (nScan << 16) | 0xC0000000u);
}

void CDialogHarness::PostSysCommand(UINT nCommand) const {
    PostMessageA(m_hDlg, WM_SYSCOMMAND, nCommand, 0);
}

void CDialogHarness::Sync() const {
    static std::atomic<LONG> s_nSequence{0};
    const LONG nSequence = ++s_nSequence;
    PostThreadMessageA(m_dwThreadId, WM_HARNESS_SYNC, static_cast<WPARAM>(nSequence), 0);
    WaitUntil([nSequence] { return g_nSyncSeen.load() >= nSequence; });
}

std::vector<HWND> CDialogHarness::CreatedDialogs() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_created.empty()) {
        return {};
    }
    return std::vector<HWND>(g_created.begin() + 1, g_created.end());
}

HWND CDialogHarness::WaitForCreatedDialog(size_t nIndex) const {
    HWND hFound = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> created = CreatedDialogs();
        if (created.size() > nIndex && IsWindowVisible(created[nIndex])) {
            hFound = created[nIndex];
        }
        return hFound != nullptr;
    });
    return hFound;
}

HWND CDialogHarness::FocusWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(m_dwThreadId, &info) ? info.hwndFocus : nullptr;
}

bool CDialogHarness::WaitUntil(const std::function<bool()>& fnDone) {
    // Generous: a loaded machine running Wine can be slow to start a window.
    const DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < 30000) {
        if (fnDone()) {
            return true;
        }
        Sleep(10);
    }
    return fnDone();
}
