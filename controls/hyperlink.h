#pragma once
// CHyperLink: a dialog's static text control that looks and acts like a web link.
// Bind it to the control with DDX_Control; everything is set up when it subclasses
// the control. A click opens the URL (link_launcher.cpp). It is in the dialog's tab
// order; Enter and Space open it, its context menu opens or copies it, and screen
// readers hear a link (hyperlink_keyboard.cpp, hyperlink_accessible.cpp).

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
    // Puts the URL on the clipboard; a clipboard that cannot be had gets a beep and stays
    // as it was (FALSE).
    BOOL CopyLinkAddress();

    // ---- Launching (link_launcher.cpp) ----
    // Opens lpszUrl with the shell, else with the command registered for web pages.
    // Greater than 32: started; otherwise the error code of the shell or of starting the
    // command, as the error box knows them.
    int LaunchLink(LPCSTR lpszUrl, int nShowCmd);
    // The default text value of hKeyRoot\lpszSubKey into rOut. ERROR_SUCCESS, or a nonzero
    // status with rOut untouched when the key does not open or its default value is missing,
    // not REG_SZ text, MAX_PATH characters or longer, or not Unicode.
    static LONG ReadKeyDefault(HKEY hKeyRoot, LPCSTR lpszSubKey, CString& rOut);
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
    // What screen readers are given; made on their first question, let go with the window.
    CAccessibleProxy* m_pAccessible;
    // Keyboard cues: the focus rectangle waits until the keyboard is used.
    BOOL m_bFocusCuesHidden;

protected:
    void PreSubclassWindow() override;

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLinkClicked();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // A new font from the dialog (its DPI changed, say): both fonts are made again from it.
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    // Focus and keyboard-cue changes show or hide the focus rectangle.
    afx_msg LRESULT OnFocusChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateUiState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();

private:
    // Plain and underlined copies of hSourceFont into normal and underlined; FALSE, with
    // both untouched, when the font cannot be read or copied.
    static BOOL CopyFonts(HGDIOBJ hSourceFont, CFont& normal, CFont& underlined);
    CAccessibleProxy* CreateAccessibleObject();
    void ReleaseAccessibleObject();

    // Draws with font from now on; without any font (none could be made) the control
    // keeps the one it has.
    void ShowFont(CFont& font);

    DECLARE_MESSAGE_MAP()
};
