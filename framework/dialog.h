#pragma once
// CDialog: a dialog box from a template resource, run modally by the framework's own
// message loop (DoModal) or created modeless (Create).

#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    // pParentWnd nullptr: the application's main window owns the dialog (if it has one).
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog, disables its owner and runs the message loop until EndDialog;
    // returns EndDialog's code, or -1 when the dialog could not be created. In the loop
    // each message goes first to PreTranslateMessage of its target window's object and
    // then of each parent's up to the dialog, then to IsDialogMessage.
    virtual INT_PTR DoModal();
    // Ends the modal loop with nResult (a modeless dialog is hidden).
    void EndDialog(int nResult);

    // A modeless dialog; FALSE when it could not be created.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // The first exchange of the members into the controls (UpdateData(FALSE)); TRUE
    // lets the system put the focus on the first control with a tab stop.
    virtual BOOL OnInitDialog();

    UINT GetTemplateID() const { return m_nIDTemplate; }

    BOOL OnCmdMsg(UINT nID, int nCode) override;
    BOOL DestroyWindow() override;

protected:
    // The default OK: exchange the controls into the members, and end with IDOK only
    // when that succeeded.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND CreateFromTemplate(HWND hWndOwner);
    BOOL RunModalLoop();
    BOOL PreTranslateModal(MSG* pMsg);
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void CenterIfUnplaced(HWND hWnd, DWORD dwStyleBefore, const RECT& rcBefore);

    int m_nModalResult = -1;
    bool m_bModalRunning = false;

    DECLARE_MESSAGE_MAP()
};
