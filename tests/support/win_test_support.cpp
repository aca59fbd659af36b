#include "tests/support/win_test_support.h"

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

bool ClassIs(HWND hWnd, const wchar_t* pszClass) {
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    return ::lstrcmpiW(szClass, pszClass) == 0;
}

// The watcher reads windows of another thread, which answers once it is back in its message
// loop: on a loaded machine that can take seconds, and a thread that has not asked for
// messages for a while only looks hung. Bounded, so that a test cannot wait forever.
std::size_t SendWithTimeout(HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR nResult = 0;
    return ::SendMessageTimeoutW(hWnd, nMsg, wParam, lParam, SMTO_NORMAL, 10000, &nResult) ? nResult
                                                                                           : 0;
}

} // namespace

std::string WindowText(HWND hWnd) {
    std::wstring strText(SendWithTimeout(hWnd, WM_GETTEXTLENGTH) + 1, L'\0');
    std::size_t nCopied =
        SendWithTimeout(hWnd, WM_GETTEXT, strText.size(), reinterpret_cast<LPARAM>(&strText[0]));
    return Utf8(strText.data(), std::min(nCopied, strText.size() - 1));
}

std::string Utf8(const wchar_t* pch, std::size_t nLength) {
    CString str("(not Unicode)");
    AfxFromWide(pch, nLength == static_cast<std::size_t>(-1) ? std::wcslen(pch) : nLength, str);
    return str.str();
}

HWND BoxOver(HWND hOwner) {
    HWND h = nullptr;
    while ((h = ::FindWindowExW(nullptr, h, L"#32770", nullptr)) &&
           ::GetWindow(h, GW_OWNER) != hOwner) {
    }
    return h;
}

void SetText(HWND hWnd, const std::string& strText) {
    ::SetWindowTextW(hWnd, CWideText(strText.c_str()));
}

CClassesRootValue::CClassesRootValue(const std::string& strKey, const std::string& strValue)
    : m_strKey(CWideText(strKey.c_str())) {
    LONG cbOld = sizeof m_szOld;
    m_bHad = ::RegQueryValueW(HKEY_CLASSES_ROOT, m_strKey.c_str(), m_szOld, &cbOld) == 0;
    ::RegSetValueW(HKEY_CLASSES_ROOT, m_strKey.c_str(), REG_SZ, CWideText(strValue.c_str()), 0);
}

CClassesRootValue::~CClassesRootValue() {
    m_bHad ? ::RegSetValueW(HKEY_CLASSES_ROOT, m_strKey.c_str(), REG_SZ, m_szOld, 0)
           : ::RegDeleteTreeW(HKEY_CLASSES_ROOT, m_strKey.c_str());
}

std::string TakeRecord(const std::string& strFile, DWORD dwMs) {
    std::ifstream in;
    PumpMessagesUntil([&] { return in.open(strFile, std::ios::binary), in.is_open(); }, dwMs);
    const std::string str(std::istreambuf_iterator<char>(in), {});
    const bool bRecorded = in.is_open();
    in.close();
    ::DeleteFileW(CWideText(strFile.c_str()));
    return bRecorded ? Utf8(reinterpret_cast<const wchar_t*>(str.data()), str.size() / 2)
                     : "(none)";
}

bool MessageBoxRecord::HasSystemIcon(LPCSTR idi) const {
    return hIcon != nullptr && hIcon == ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(idi));
}

CMessageBoxWatcher::CMessageBoxWatcher(int nDismissWith)
    : m_nDismissWith(nDismissWith), m_thread([this] { Watch(); }) {
}

std::vector<MessageBoxRecord> CMessageBoxWatcher::Stop() {
    m_bStop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_boxes;
}

// A message box: a visible dialog of this process, not one of the framework's, with its
// text in static 0xFFFF.
void CMessageBoxWatcher::Watch() {
    for (; !m_bStop; ::Sleep(20)) {
        HWND hWnd = nullptr;
        while ((hWnd = ::FindWindowExW(nullptr, hWnd, L"#32770", nullptr)) != nullptr) {
            DWORD dwProcessId = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcessId);
            HWND hText = ::GetDlgItem(hWnd, 0xFFFF);
            if (dwProcessId != ::GetCurrentProcessId() || !::IsWindowVisible(hWnd) ||
                hText == nullptr || !ClassIs(hText, L"Static") ||
                CWnd::FromHandlePermanent(hWnd) != nullptr || !m_seen.insert(hWnd).second) {
                continue;
            }
            MessageBoxRecord box;
            box.hWndOwner = ::GetWindow(hWnd, GW_OWNER);
            box.strCaption = WindowText(hWnd);
            box.strText = WindowText(hText);
            for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != nullptr && !box.hIcon;
                 hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
                if (ClassIs(hChild, L"Static") &&
                    (::GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    box.hIcon = reinterpret_cast<HICON>(SendWithTimeout(hChild, STM_GETICON));
                }
            }
            for (int nId : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN,
                            IDCONTINUE}) {
                if (::GetDlgItem(hWnd, nId) != nullptr) {
                    box.buttons.push_back(nId);
                }
            }
            const int nButton = ::GetDlgItem(hWnd, m_nDismissWith) ? m_nDismissWith : IDCANCEL;
            m_boxes.push_back(box);
            ::PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, nButton)));
        }
    }
}

bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD dwTimeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(dwTimeoutMs);
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (fnDone()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct ModalScript {
    CDialog* pDialog;
    std::vector<ModalStep> steps;
    std::size_t nNext;
    Clock::time_point deadline;
    bool bRunning; // a step is running (it may nest a modal loop)
};

thread_local ModalScript* t_pScript = nullptr;

void CALLBACK ModalScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* pScript = t_pScript;
    if (pScript == nullptr || pScript->bRunning) {
        return;
    }
    CDialog& dlg = *pScript->pDialog;
    if (dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd) &&
        pScript->nNext < pScript->steps.size()) {
        pScript->bRunning = true;
        pScript->steps[pScript->nNext++](dlg);
        pScript->bRunning = false;
        pScript->deadline = Clock::now() + std::chrono::seconds(20);
    } else if (Clock::now() > pScript->deadline) {
        dlg.EndDialog(static_cast<int>(kModalTimedOut));
    }
}

} // namespace

INT_PTR RunModalScript(CDialog& dlg, std::vector<ModalStep> steps) {
    ModalScript script{&dlg, std::move(steps), 0, Clock::now() + std::chrono::seconds(20), false};
    t_pScript = &script;
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 30, &ModalScriptTick);
    const INT_PTR nResult = dlg.DoModal();
    ::KillTimer(nullptr, nTimer);
    t_pScript = nullptr;
    return nResult;
}
