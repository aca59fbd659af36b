#include "tests/controls/link_host.h"

#include <chrono>

namespace {

constexpr const char* kHostClass = "KestrowLinkHost";
constexpr const char* kHtm = ".htm";

void RegisterHostClass() {
    WNDCLASSA wc{};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), kHostClass, &wc)) {
        return;
    }
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    ::RegisterClassA(&wc);
}

bool KeyExists(const char* pszKey) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, pszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(hKey);
    return true;
}

// pData nullptr: the key gets no default value (an existing one is removed).
bool WriteDefault(const char* pszKey, DWORD dwType, const void* pData, DWORD cbData) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, pszKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG lStatus = ERROR_SUCCESS;
    if (pData != nullptr) {
        lStatus =
            ::RegSetValueExA(hKey, nullptr, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    } else {
        const LONG lDelete = ::RegDeleteValueA(hKey, nullptr);
        lStatus = lDelete == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lDelete;
    }
    ::RegCloseKey(hKey);
    return lStatus == ERROR_SUCCESS;
}

bool WriteText(const char* pszKey, const std::string& str) {
    return WriteDefault(pszKey, REG_SZ, str.c_str(), static_cast<DWORD>(str.size() + 1));
}

} // namespace

CLinkHost::~CLinkHost() {
    for (HWND hWnd : m_controls) {
        if (::IsWindow(hWnd)) {
            ::DestroyWindow(hWnd);
        }
    }
}

HWND CLinkHost::Parent() const {
    // A framework window, so that it hands its controls' messages back to them.
    static CWnd* const pParent = [] {
        RegisterHostClass();
        auto* pWnd = new CWnd;
        pWnd->CreateEx(0, kHostClass, "link host", WS_POPUP | WS_VISIBLE, kLeft, kTop, 640, 400,
                       nullptr, nullptr);
        return pWnd;
    }();
    return pParent->m_hWnd;
}

HWND CLinkHost::AddStatic(const char* pszText, DWORD dwExtraStyle, const RECT& rc, HFONT hFont) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", pszText, kLinkStyle | dwExtraStyle, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, Parent(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (hWnd != nullptr) {
        m_controls.push_back(hWnd);
        if (hFont != nullptr) {
            ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        }
    }
    return hWnd;
}

FontPtr MakeFont(int nPixelHeight, const char* pszFace) {
    LOGFONTA lf{};
    lf.lfHeight = -nPixelHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, pszFace, LF_FACESIZE);
    return FontPtr(::CreateFontIndirectA(&lf));
}

LOGFONTA FontDescription(HGDIOBJ hFont) {
    LOGFONTA lf{};
    ::GetObjectA(hFont, sizeof(lf), &lf);
    return lf;
}

SIZE MeasureText(HWND hWnd, const std::string& str, HFONT hFont) {
    SIZE size{-1, -1};
    HDC hDC = ::GetDC(hWnd);
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    ::GetTextExtentPoint32A(hDC, str.c_str(), static_cast<int>(str.size()), &size);
    if (hOld != nullptr) {
        ::SelectObject(hDC, hOld);
    }
    ::ReleaseDC(hWnd, hDC);
    return size;
}

RECT RectInParent(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int CountPixels(HWND hWnd, COLORREF clr) {
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    HDC hDC = ::GetDC(hWnd);
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (::GetPixel(hDC, x, y) == clr) {
                ++nCount;
            }
        }
    }
    ::ReleaseDC(hWnd, hDC);
    return nCount;
}

::testing::AssertionResult IsDrawnIn(HWND hWnd, COLORREF clrText, COLORREF clrAbsent) {
    ::UpdateWindow(hWnd);
    const int nText = CountPixels(hWnd, clrText);
    const int nAbsent = CountPixels(hWnd, clrAbsent);
    if (nText > 20 && nAbsent == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << nText << " pixels in the text colour, " << nAbsent
                                         << " in the colour that should be gone";
}

bool TimerTicks(HWND hWnd, UINT_PTR nTimerId, DWORD dwMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMs);
    while (std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        if (::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) && msg.wParam == nTimerId) {
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

CWebPageRegistry::CWebPageRegistry() {
    m_bHadHtm = KeyExists(kHtm);
    if (m_bHadHtm) {
        char szValue[MAX_PATH] = "";
        LONG cbValue = sizeof(szValue);
        m_bHtmHadDefault =
            ::RegQueryValueA(HKEY_CLASSES_ROOT, kHtm, szValue, &cbValue) == ERROR_SUCCESS;
        m_strOldHtmDefault = szValue;
    }
}

CWebPageRegistry::~CWebPageRegistry() {
    for (auto it = m_madeKeys.rbegin(); it != m_madeKeys.rend(); ++it) {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, it->c_str());
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, it->c_str());
    }
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassName);
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassName);
    if (!m_bHadHtm) {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kHtm);
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kHtm);
    } else if (m_bHtmHadDefault) {
        WriteText(kHtm, m_strOldHtmDefault);
    } else {
        WriteDefault(kHtm, REG_SZ, nullptr, 0);
    }
}

bool CWebPageRegistry::SetOpenCommand(const std::string& strCommand) {
    const std::string strCommandKey = std::string(kClassName) + "\\shell\\open\\command";
    return WriteText(kHtm, kClassName) && WriteText(strCommandKey.c_str(), strCommand);
}

bool CWebPageRegistry::SetClassWithoutCommand() {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassName);
    return WriteText(kHtm, kClassName) && WriteText(kClassName, "test web page");
}

bool CWebPageRegistry::RemoveWebPageClass() {
    if (!m_bHadHtm) {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kHtm);
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kHtm);
        return !KeyExists(kHtm);
    }
    return WriteDefault(kHtm, REG_SZ, nullptr, 0);
}

bool CWebPageRegistry::SetDefaultValue(const std::string& strKey, DWORD dwType, const void* pData,
                                       DWORD cbData) {
    m_madeKeys.push_back(strKey);
    return WriteDefault(strKey.c_str(), dwType, pData, cbData);
}
