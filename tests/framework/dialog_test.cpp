// Dialogs under Wine: the framework's modal loop, default OK/Cancel, owners, the
// PreTranslateMessage walk, and data exchange with DDX_Text and DDX_Control.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

class CWatchingStatic : public CStatic {
public:
    int m_nPreSubclass = 0;
    bool m_bLiveAtPreSubclass = false;
    std::vector<UINT> m_seen; // messages offered to PreTranslateMessage

    BOOL PreTranslateMessage(MSG* pMsg) override {
        m_seen.push_back(pMsg->message);
        return CStatic::PreTranslateMessage(pMsg);
    }

protected:
    void PreSubclassWindow() override {
        ++m_nPreSubclass;
        m_bLiveAtPreSubclass = ::IsWindow(m_hWnd) && GetDlgCtrlID() == IDC_TEST_LINK;
        CStatic::PreSubclassWindow();
    }
};

class CTestDialog : public CDialog {
public:
    explicit CTestDialog(CWnd* pParent = nullptr) : CDialog(IDD_TEST_DIALOG, pParent) {}
    CWatchingStatic m_ctlLink;
    CString m_strFirst;
    CString m_strSecond;
    bool m_bSecondFieldMissing = false; // bind a control the template lacks

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEST_LINK, m_ctlLink);
        DDX_Text(pDX, IDC_TEST_FIRST_EDIT, m_strFirst);
        DDX_Text(pDX, m_bSecondFieldMissing ? 4321 : IDC_TEST_SECOND_EDIT, m_strSecond);
    }
};

// A child control sees what is posted to it before dispatch; the code given to EndDialog
// is returned. (The fields filled in, the focus in the first and Escape are the main
// dialog suite's.)
TEST(ModalDialogTest, DoModalReturnsTheCodeGivenToEndDialog) {
    const UINT WM_TEST_POSTED = WM_APP + 7;
    CTestDialog dlg;
    std::vector<UINT>& seen = dlg.m_ctlLink.m_seen;
    EXPECT_EQ(1234, RunModalScript(dlg, {[&](CDialog&) {
                                             seen.clear();
                                             dlg.m_ctlLink.PostMessage(WM_TEST_POSTED);
                                             dlg.m_ctlLink.PostMessage(WM_MOUSEMOVE, 0,
                                                                       MAKELPARAM(1, 1));
                                         },
                                         [](CDialog& d) { d.EndDialog(1234); }}));
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), WM_TEST_POSTED));
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_MOUSEMOVE)));
    EXPECT_EQ(nullptr, dlg.m_hWnd); // the window is gone, the object stays
    EXPECT_EQ(nullptr, dlg.m_ctlLink.m_hWnd);
}

TEST(ModalDialogTest, OkExchangesTheFieldsAndStaysOpenWhenThatFails) {
    CTestDialog dlg;
    dlg.m_strSecond = "unchanged";
    bool bOpen = false;
    CString strFirstAfterFailure;
    EXPECT_EQ(IDOK,
              RunModalScript(dlg, {[&](CDialog&) {
                                       dlg.m_bSecondFieldMissing = true;
                                       SetText(::GetDlgItem(dlg, IDC_TEST_FIRST_EDIT), "kept");
                                       dlg.PostMessage(WM_COMMAND, IDOK);
                                   },
                                   [&](CDialog&) {
                                       bOpen = dlg.m_hWnd && dlg.IsWindowVisible();
                                       strFirstAfterFailure = dlg.m_strFirst;
                                       dlg.m_bSecondFieldMissing = false;
                                       SetText(::GetDlgItem(dlg, IDC_TEST_FIRST_EDIT), "");
                                       SetText(::GetDlgItem(dlg, IDC_TEST_SECOND_EDIT), kWorldText);
                                       ::PostMessageW(::GetDlgItem(dlg, IDC_TEST_FIRST_EDIT),
                                                      WM_KEYDOWN, VK_RETURN, 0);
                                   }}));
    EXPECT_TRUE(bOpen);
    EXPECT_EQ("kept", strFirstAfterFailure); // the bindings before the failure ran
    EXPECT_EQ("", dlg.m_strFirst);
    EXPECT_EQ(kWorldText, dlg.m_strSecond.str());
    // DDX_Control subclassed the control once, on the first of the three exchanges.
    EXPECT_EQ(1, dlg.m_ctlLink.m_nPreSubclass);
    EXPECT_TRUE(dlg.m_ctlLink.m_bLiveAtPreSubclass);
}

TEST(ModalDialogTest, TheOwnerIsDisabledWhileItRunsAndTheDialogCentredOverIt) {
    CDialog owner(IDD_TEST_DIALOG);
    ASSERT_TRUE(owner.Create(IDD_TEST_DIALOG));
    owner.SetWindowPos(nullptr, 300, 200, 500, 400, SWP_NOZORDER);
    owner.ShowWindow(SW_SHOW);
    CRect rcOwner, rcDialog;
    owner.GetWindowRect(&rcOwner);
    bool bOwnerEnabled = true;
    HWND hOwner = nullptr;
    CTestDialog dlg(&owner);
    RunModalScript(dlg, {[&](CDialog& d) {
                       bOwnerEnabled = owner.IsWindowEnabled() != FALSE;
                       hOwner = ::GetWindow(d, GW_OWNER);
                       d.GetWindowRect(&rcDialog);
                       d.EndDialog(IDOK);
                   }});
    EXPECT_FALSE(bOwnerEnabled);
    EXPECT_EQ(owner.m_hWnd, hOwner);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_NEAR(rcOwner.CenterPoint().x, rcDialog.CenterPoint().x, 1);
    EXPECT_NEAR(rcOwner.CenterPoint().y, rcDialog.CenterPoint().y, 1);

    // A dialog that places itself while initialising stays where it put itself.
    class CPlacedDialog : public CTestDialog {
        using CTestDialog::CTestDialog;
        BOOL OnInitDialog() override {
            SetWindowPos(nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return CTestDialog::OnInitDialog();
        }
    } placed(&owner);
    RunModalScript(placed, {[&](CDialog& d) {
                       d.GetWindowRect(&rcDialog);
                       d.EndDialog(IDOK);
                   }});
    EXPECT_EQ(CPoint(10, 20), rcDialog.TopLeft());

    CDialog missing(IDD_MISSING_DIALOG, &owner);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
}

} // namespace
