// Dialog data exchange between members and controls.

#include "framework/data_exchange.h"

#include "framework/exceptions.h"
#include "framework/wide_text.h"
#include "framework/win_app.h"

namespace {

// What the user calls the field: the label before it in the dialog, without its mnemonic
// and colon; the control's id when it has none.
CString FieldName(HWND hWndCtrl) {
    CString strLabel;
    const HWND hWndLabel = ::GetWindow(hWndCtrl, GW_HWNDPREV);
    WCHAR szClass[8] = {};
    if (hWndLabel != nullptr && ::GetClassNameW(hWndLabel, szClass, 8) &&
        ::lstrcmpiW(szClass, L"Static") == 0) {
        AfxGetWindowText(hWndLabel, strLabel);
    }
    strLabel.Replace("&", "");
    std::string strName = strLabel.str();
    while (!strName.empty() && (strName.back() == ':' || strName.back() == ' ')) {
        strName.pop_back();
    }
    if (strName.empty()) {
        strName = "field " + std::to_string(::GetDlgCtrlID(hWndCtrl));
    }
    return CString(strName);
}

} // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (hWndCtrl == nullptr) {
        Fail();
    }
    m_hWndLastControl = hWndCtrl;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr && m_pstrRefusal == nullptr) {
        // Back to the field at fault, its text selected to be typed over.
        ::SetFocus(m_hWndLastControl);
        ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextW(hWndCtrl, CWideText(value));
        return;
    }
    // A paste can bring half of a character pair; any stand-in for it would be another text
    // (another secret, signed), so the field is refused as a whole.
    if (!AfxGetWindowText(hWndCtrl, value)) {
        const CString strRefusal =
            "The field \"" + FieldName(hWndCtrl) +
            "\" holds text that is not valid Unicode: half of a character pair, as a paste can "
            "leave behind. Nothing was done with it; please type its text again.";
        if (pDX->m_pstrRefusal != nullptr) {
            *pDX->m_pstrRefusal = strRefusal;
        } else {
            AfxMessageBox(strRefusal, MB_ICONEXCLAMATION | MB_OK);
        }
        pDX->Fail();
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
