#pragma once
// GDI objects and device contexts. A CGdiObject owns its handle and deletes it, except
// the temporary wrappers FromHandle hands out for handles owned elsewhere.

#include "framework/cstring.h"
#include "framework/geometry.h"
#include "framework/win32.h"

class CWnd;

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; } // NOLINT
    // Takes ownership of hObject; FALSE if this object already holds one.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Deletes the platform object now (FALSE when there was none).
    BOOL DeleteObject();

    static CGdiObject* FromHandle(HGDIOBJ hObject);

protected:
    // Takes ownership of a newly created hNew, deleting a handle this object owned.
    // FALSE (and nothing changed) when creation failed (hNew nullptr).
    BOOL AttachCreated(HGDIOBJ hNew);
    // The temporary wrapper of hObject in map: made once per handle, never owning.
    template <class T, class Map> static T* TemporaryWrapper(Map& map, HGDIOBJ hObject);

    bool m_bOwned = true;
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); } // NOLINT
    // Replaces (and deletes) a font this object held before.
    BOOL CreateFontIndirect(const LOGFONTW* lpLogFont);
    int GetLogFont(LOGFONTW* pLogFont) const;

    // A temporary wrapper, valid until the message loop is next idle.
    static CFont* FromHandle(HFONT hFont);
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);
    BOOL CreateSolidBrush(COLORREF crColor);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); } // NOLINT

    static CBrush* FromHandle(HBRUSH hBrush);
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; } // NOLINT
    // A temporary wrapper, valid until the message loop is next idle.
    static CDC* FromHandle(HDC hDC);

    // Returns the font selected before (a temporary wrapper), or nullptr on failure.
    CFont* SelectObject(CFont* pFont);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HGDIOBJ SelectStockObject(int nIndex);

    // Size of one line of text in the selected font.
    CSize GetTextExtent(const CString& str) const;
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    // Fills the rectangle with a solid colour; the background colour is kept.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL TextOut(int x, int y, const CString& str);
};

// BeginPaint/EndPaint for the life of the object; only inside WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// The window's client-area DC for the life of the object.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// The whole window's DC (frame included) for the life of the object.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
