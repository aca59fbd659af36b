// Dialog data exchange between members and controls.

#include "framework/data_exchange.h"

#include "framework/exceptions.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (hWndCtrl == nullptr) {
        Fail();
    }
    return hWndCtrl;
}

void CDataExchange::Fail() {
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nLength = ::GetWindowTextLengthA(hWndCtrl);
        CString strText;
        if (value.IsSecret()) {
            strText.MarkSecret();
        }
        ::GetWindowTextA(hWndCtrl, strText.GetBuffer(nLength), nLength + 1);
        strText.ReleaseBuffer();
        value = strText;
    } else {
        ::SetWindowTextA(hWndCtrl, value);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) {
        pDX->Fail();
    }
}
