#include "tests/support/win_test_support.h"

#include <algorithm>
#include <chrono>

namespace {

const int kButtonIds[] = {IDOK,  IDCANCEL, IDABORT,    IDRETRY,   IDIGNORE,
                          IDYES, IDNO,     IDTRYAGAIN, IDCONTINUE};

bool ClassIs(HWND hWnd, const char* pszClass) {
    char szClass[64] = {};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return ::lstrcmpiA(szClass, pszClass) == 0;
}

struct IconSearch {
    HICON hIcon = nullptr;
};

BOOL CALLBACK FindIconChild(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<IconSearch*>(lParam);
    if (ClassIs(hWnd, "Static") && (::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        DWORD_PTR nResult = 0;
        if (::SendMessageTimeoutA(hWnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &nResult) != 0 &&
            nResult != 0) {
            pSearch->hIcon = reinterpret_cast<HICON>(nResult);
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

std::string WindowText(HWND hWnd) {
    DWORD_PTR nLength = 0;
    if (::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &nLength) ==
        0) {
        return std::string();
    }
    std::string strText(nLength + 1, '\0');
    DWORD_PTR nCopied = 0;
    if (::SendMessageTimeoutA(hWnd, WM_GETTEXT, strText.size(),
                              reinterpret_cast<LPARAM>(&strText[0]), SMTO_ABORTIFHUNG, 2000,
                              &nCopied) == 0) {
        return std::string();
    }
    strText.resize(std::min<std::size_t>(nCopied, nLength));
    return strText;
}

bool MessageBoxRecord::HasSystemIcon(LPCSTR idi) const {
    return hIcon != nullptr && hIcon == ::LoadIconA(nullptr, idi);
}

bool MessageBoxRecord::HasButton(int nId) const {
    return std::find(buttons.begin(), buttons.end(), nId) != buttons.end();
}

bool IsMessageBoxWindow(HWND hWnd) {
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != ::GetCurrentProcessId() || !::IsWindowVisible(hWnd) ||
        !ClassIs(hWnd, "#32770") || CWnd::FromHandlePermanent(hWnd) != nullptr) {
        return false;
    }
    HWND hWndText = ::GetDlgItem(hWnd, 0xFFFF);
    return hWndText != nullptr && ClassIs(hWndText, "Static");
}

CMessageBoxWatcher::CMessageBoxWatcher(int nDismissWith)
    : m_nDismissWith(nDismissWith), m_thread([this] { Watch(); }) {
}

CMessageBoxWatcher::~CMessageBoxWatcher() {
    Stop();
}

std::vector<MessageBoxRecord> CMessageBoxWatcher::Stop() {
    m_bStop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return Boxes();
}

std::vector<MessageBoxRecord> CMessageBoxWatcher::Boxes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

bool CMessageBoxWatcher::WaitForCount(std::size_t n, DWORD dwTimeoutMs) const {
    return PumpMessagesUntil([&] { return Boxes().size() >= n; }, dwTimeoutMs);
}

void CMessageBoxWatcher::Watch() {
    while (!m_bStop) {
        ::EnumWindows(&CMessageBoxWatcher::InspectTopLevel, reinterpret_cast<LPARAM>(this));
        ::Sleep(20);
    }
}

BOOL CALLBACK CMessageBoxWatcher::InspectTopLevel(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<CMessageBoxWatcher*>(lParam)->Inspect(hWnd);
    return TRUE;
}

void CMessageBoxWatcher::Inspect(HWND hWnd) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_seen.count(hWnd) != 0) {
            return;
        }
    }
    if (!IsMessageBoxWindow(hWnd)) {
        return;
    }
    MessageBoxRecord record;
    record.hWnd = hWnd;
    record.hWndOwner = ::GetWindow(hWnd, GW_OWNER);
    record.strCaption = WindowText(hWnd);
    record.strText = WindowText(::GetDlgItem(hWnd, 0xFFFF));
    record.nWindowStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
    IconSearch search;
    ::EnumChildWindows(hWnd, &FindIconChild, reinterpret_cast<LPARAM>(&search));
    record.hIcon = search.hIcon;
    for (int nId : kButtonIds) {
        if (::GetDlgItem(hWnd, nId) != nullptr) {
            record.buttons.push_back(nId);
        }
    }
    int nButton = record.HasButton(m_nDismissWith) ? m_nDismissWith : IDCANCEL;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.insert(hWnd);
        m_boxes.push_back(record);
    }
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, nButton)));
}

bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD dwTimeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwTimeoutMs);
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (fnDone()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpMessagesFor(DWORD dwMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMs);
    PumpMessagesUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, dwMs + 1000);
}

namespace {

struct ModalScript {
    CDialog* pDialog = nullptr;
    std::vector<ModalStep> steps;
    std::size_t nNext = 0;
    std::chrono::steady_clock::time_point deadline;
    bool bRunning = false; // a step is running (it may nest a modal loop)
};

thread_local ModalScript* t_pScript = nullptr;

void CALLBACK ModalScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* pScript = t_pScript;
    if (pScript == nullptr || pScript->bRunning) {
        return;
    }
    CDialog& dlg = *pScript->pDialog;
    auto now = std::chrono::steady_clock::now();
    if (dlg.m_hWnd == nullptr || !::IsWindowVisible(dlg.m_hWnd)) {
        if (now > pScript->deadline) {
            dlg.EndDialog(static_cast<int>(kModalTimedOut));
        }
        return;
    }
    if (pScript->nNext < pScript->steps.size()) {
        pScript->bRunning = true;
        pScript->steps[pScript->nNext++](dlg);
        pScript->bRunning = false;
        pScript->deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    } else if (now > pScript->deadline) {
        dlg.EndDialog(static_cast<int>(kModalTimedOut));
    }
}

} // namespace

INT_PTR RunModalScript(CDialog& dlg, std::vector<ModalStep> steps) {
    ModalScript script;
    script.pDialog = &dlg;
    script.steps = std::move(steps);
    script.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    t_pScript = &script;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 30, &ModalScriptTick);
    INT_PTR nResult = dlg.DoModal();
    ::KillTimer(nullptr, nTimer);
    t_pScript = nullptr;
    return nResult;
}
