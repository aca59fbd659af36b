// GDI objects and device contexts.

#include "framework/gdi.h"

#include "framework/thread_state.h"
#include "framework/wide_text.h"
#include "framework/wnd.h"

template <class T, class Map> T* CGdiObject::TemporaryWrapper(Map& map, HGDIOBJ hObject) {
    if (hObject == nullptr) {
        return nullptr;
    }
    std::unique_ptr<T>& pObject = map[hObject];
    if (!pObject) {
        pObject = std::make_unique<T>();
    }
    pObject->m_hObject = hObject;
    pObject->m_bOwned = false;
    return pObject.get();
}

CGdiObject::~CGdiObject() {
    if (m_bOwned) {
        DeleteObject();
    }
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (hObject == nullptr || m_hObject != nullptr) {
        return FALSE;
    }
    m_hObject = hObject;
    m_bOwned = true;
    return TRUE;
}

BOOL CGdiObject::AttachCreated(HGDIOBJ hNew) {
    if (hNew == nullptr) {
        return FALSE;
    }
    if (m_bOwned) {
        DeleteObject();
    }
    m_hObject = hNew;
    m_bOwned = true;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    HGDIOBJ hObject = Detach();
    return ::DeleteObject(hObject);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return TemporaryWrapper<CGdiObject>(AfxGetThreadState().tempGdiObjects, hObject);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
    return AttachCreated(::CreateFontIndirectW(lpLogFont));
}

int CFont::GetLogFont(LOGFONTW* pLogFont) const {
    return ::GetObjectW(m_hObject, sizeof(LOGFONTW), pLogFont);
}

CFont* CFont::FromHandle(HFONT hFont) {
    return TemporaryWrapper<CFont>(AfxGetThreadState().tempFonts, hFont);
}

CBrush::CBrush(COLORREF crColor) {
    CreateSolidBrush(crColor);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return AttachCreated(::CreateSolidBrush(crColor));
}

CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    return TemporaryWrapper<CBrush>(AfxGetThreadState().tempBrushes, hBrush);
}

CDC* CDC::FromHandle(HDC hDC) {
    if (hDC == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CDC>& pDC = AfxGetThreadState().tempDCs[hDC];
    if (!pDC) {
        pDC = std::make_unique<CDC>();
        pDC->m_hDC = hDC;
    }
    return pDC.get();
}

CFont* CDC::SelectObject(CFont* pFont) {
    HGDIOBJ hOld = ::SelectObject(m_hDC, pFont != nullptr ? pFont->m_hObject : nullptr);
    if (hOld == nullptr || hOld == HGDI_ERROR) {
        return nullptr;
    }
    return CFont::FromHandle(static_cast<HFONT>(hOld));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    return ::SelectObject(m_hDC, hObject);
}

HGDIOBJ CDC::SelectStockObject(int nIndex) {
    return ::SelectObject(m_hDC, ::GetStockObject(nIndex));
}

CSize CDC::GetTextExtent(const CString& str) const {
    const CWideText strWide(str);
    SIZE size{0, 0};
    ::GetTextExtentPoint32W(m_hDC, strWide, static_cast<int>(strWide.GetLength()), &size);
    return CSize(size);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}

COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}

int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}

int CDC::GetBkMode() const {
    return ::GetBkMode(m_hDC);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    COLORREF clrOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT rect{x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    const CWideText strWide(str);
    return ::TextOutW(m_hDC, x, y, strWide, static_cast<int>(strWide.GetLength()));
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, m_hDC);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::GetWindowDC(m_hWnd);
}

CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, m_hDC);
}
