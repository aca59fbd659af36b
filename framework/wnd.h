#pragma once
// CWnd: a C++ object bound to a window. Windows the framework creates or subclasses get
// their messages through the object's message map; anything the map does not handle
// goes on to the window's previous procedure (Default). A message to a parent about a
// child control (WM_CTLCOLOR..., WM_COMMAND notifications) is first offered to the
// child's own map ("reflection"); the child's answer is used when it handles it.

#include "framework/cstring.h"
#include "framework/geometry.h"
#include "framework/object.h"

class CDC;
class CDataExchange;
class CFont;
class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // A window the framework created is destroyed with its object; a subclassed one
    // gets its previous procedure back and lives on.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; } // NOLINT
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to hWnd; for a window without one, a temporary object that lives
    // until the message loop is next idle (nullptr for a null handle).
    static CWnd* FromHandle(HWND hWnd);
    // The object bound to hWnd, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Binds the object to an existing window without taking over its messages.
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // Binds the object to an existing window and takes over its window procedure:
    // m_hWnd is set, PreSubclassWindow runs, then messages flow through the map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window its previous procedure back and unbinds it.
    HWND UnsubclassWindow();

    // Creates a window of a registered class and binds it like SubclassWindow.
    // Texts given to the framework, here and below, are UTF-8.
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // ---- Messages ----
    // Sees every message of the modal loop aimed at this window or a child of it before
    // it is dispatched; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the map; TRUE (and *pResult) when an entry handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Offered a parent's message about this control; TRUE when this control's map
    // handled its reflected form.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The previous window procedure (or DefWindowProc) with the given message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The previous window procedure with the message being handled on this thread.
    LRESULT Default();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // ---- Style, text, geometry ----
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // nFlags other than 0: also SetWindowPos with them, so a frame change shows.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    // FALSE, with rString as it was, when the text is not Unicode.
    BOOL GetWindowText(CString& rString) const;
    void SetWindowText(LPCSTR lpszString);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // pWndInsertAfter nullptr: the top of the z-order (and ignored with SWP_NOZORDER).
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* SetFocus();

    // ---- Fonts, painting, timers ----
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    BOOL UpdateWindow();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    CMenu* GetSystemMenu(BOOL bRevert) const;
    // caption nullptr: the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // ---- Data exchange (dialogs and their controls) ----
    virtual void DoDataExchange(CDataExchange* pDX);
    // TRUE: controls into members; FALSE: members into controls. FALSE when a step of
    // the exchange failed. pstrRefusal: see CDataExchange::m_pstrRefusal.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE, CString* pstrRefusal = nullptr);

    // ---- Handlers of the framework's names; each gives the message its default
    // processing. Derived classes hide them with their own and map those. ----
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();

    // The window procedure of every window bound with SubclassWindow or CreateEx.
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Runs when the object has been bound to a live window (m_hWnd set), before its
    // messages flow through the map.
    virtual void PreSubclassWindow();
    // Runs after the window is gone and the object unbound (WM_NCDESTROY).
    virtual void PostNcDestroy();

    // Binds and subclasses: the common part of SubclassWindow and CreateEx.
    BOOL BindWindow(HWND hWnd, bool bCreated);
    // Called when the window's last message (WM_NCDESTROY) has been handled.
    void OnFinalDestroy();

    WNDPROC m_pfnSuper = nullptr; // the window's previous procedure
    bool m_bCreated = false;      // the framework created the window

    DECLARE_MESSAGE_MAP()
};
