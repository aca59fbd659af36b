#include "app/app_icon.h"

#include "app/resource.h"
#include "framework/afx.h"

namespace {

// A user32 function that older systems lack, or nullptr.
template <typename Fn> Fn User32Function(const char* pszName) {
    const FARPROC pfn = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), pszName);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(pfn));
}

// Per display where the system knows it (a per-monitor aware program can have windows
// on displays of different resolutions), else the system's one.
int MetricFor(HWND hWnd, int nIndex) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto pfnDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    static const auto pfnMetricsForDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    const UINT nDpi = pfnDpiForWindow != nullptr ? pfnDpiForWindow(hWnd) : 0;
    return nDpi != 0 && pfnMetricsForDpi != nullptr ? pfnMetricsForDpi(nIndex, nDpi)
                                                    : ::GetSystemMetrics(nIndex);
}

HICON LoadIconFor(HWND hWnd, int nIndexX, int nIndexY) {
    const HINSTANCE hInstance =
        AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    return static_cast<HICON>(::LoadImageW(hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                           MetricFor(hWnd, nIndexX), MetricFor(hWnd, nIndexY), 0));
}

void Destroy(HICON hIcon) {
    if (hIcon != nullptr) {
        ::DestroyIcon(hIcon);
    }
}

} // namespace

CAppIcons::~CAppIcons() {
    Destroy(m_hLarge);
    Destroy(m_hSmall);
}

void CAppIcons::LoadFor(HWND hWnd) {
    Destroy(m_hLarge);
    Destroy(m_hSmall);
    m_hLarge = LoadIconFor(hWnd, SM_CXICON, SM_CYICON);
    m_hSmall = LoadIconFor(hWnd, SM_CXSMICON, SM_CYSMICON);
}
