#pragma once
// Dialog data exchange: DoDataExchange lists DDX_ calls that move values between the
// dialog's members and its controls, in the direction of m_bSaveAndValidate.

#include "framework/cstring.h"
#include "framework/exceptions.h"
#include "framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate, CString* pstrRefusal = nullptr)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_pstrRefusal(pstrRefusal) {}

    BOOL m_bSaveAndValidate; // TRUE: controls into members
    CWnd* m_pDlgWnd;
    // Saving as the user types: a refusal is written here instead of shown in a box, and the
    // focus stays where it is. nullptr: a box.
    CString* m_pstrRefusal;

    HWND m_hWndLastControl = nullptr; // the control of the step under way

    // The control nIDC of the dialog; fails the exchange when there is none.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange: UpdateData then returns FALSE. Saving, the focus goes to the
    // control of the failed step.
    [[noreturn]] void Fail();
};

// Runs the DDX_ steps of exchange(&dx); FALSE when one of them failed.
template <class Exchange> BOOL AfxRunExchange(CDataExchange& dx, Exchange exchange) {
    try {
        exchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

// The control's whole text to or from value; a secret value is read in place, through a
// buffer that is wiped. Saving a text that is not Unicode fails the exchange with a message
// that names the field (in a box, or in m_pstrRefusal); value keeps what it held.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Binds rControl to the dialog's control nIDC by subclassing it, the first time only.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
