#pragma once
// CHyperLink: a dialog's static text control that looks and acts like a web link.
// Bind it to the control with DDX_Control; everything is set up when it subclasses
// the control. A click opens the URL (link_launcher.cpp).

#include "framework/afx.h"

class CHyperLink : public CStatic {
public:
    // When the text is drawn underlined (m_nUnderlineMode).
    enum {
        UnderlineOnHover = -1, // while the pointer is over the link
        UnderlineNever = 0,
        UnderlineAlways = 1,
    };

    CHyperLink();
    ~CHyperLink() override;

    BOOL DestroyWindow() override;
    // Hands every message to the tool tip before the usual translation.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Resizes the window to its text as drawn underlined, keeping its alignment.
    void FitToText();
    // The hand cursor: the help program's, else a private copy of the system's.
    void LoadHandCursor();
    void SetUnderlineMode(int nMode);
    void SetLinkVisited(BOOL bVisited);

    // ---- Launching (link_launcher.cpp) ----
    // Opens lpszUrl with the shell, else with the command registered for web pages.
    // Greater than 32: started; otherwise the error code of the shell or WinExec.
    int LaunchLink(LPCSTR lpszUrl, int nShowCmd);
    // The default text value of hKeyRoot\lpszSubKey into lpszOut (at least MAX_PATH
    // bytes; may be the same buffer as lpszSubKey). ERROR_SUCCESS, or a nonzero status
    // with lpszOut untouched when the key does not open or its default value is missing,
    // not REG_SZ text, or MAX_PATH characters or longer.
    static LONG ReadKeyDefault(HKEY hKeyRoot, LPCSTR lpszSubKey, LPSTR lpszOut);
    // Beeps are the caller's; this shows the box that explains nCode.
    void ShowLaunchError(int nCode);

    COLORREF m_clrLink;
    COLORREF m_clrVisited;
    COLORREF m_clrHover;
    BOOL m_bHovering;
    BOOL m_bLinkVisited;
    int m_nUnderlineMode;
    BOOL m_bFitToText;
    CString m_strLinkUrl;
    CFont m_fontUnderlined;
    CFont m_fontNormal;
    HCURSOR m_hHandCursor;
    CToolTipCtrl m_tipCtrl;
    UINT m_nHoverTimerId;

protected:
    void PreSubclassWindow() override;

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLinkClicked();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

private:
    // Draws with font from now on; without any font (none could be made) the control
    // keeps the one it has.
    void ShowFont(CFont& font);

    DECLARE_MESSAGE_MAP()
};
