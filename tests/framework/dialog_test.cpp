// Dialogs under Wine: the framework's modal loop, default OK/Cancel, owners, the
// PreTranslateMessage walk, and data exchange with DDX_Text and DDX_Control.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/afx.h"
#include "tests/framework/framework_win_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

const UINT WM_TEST_POSTED = WM_APP + 7;

class CWatchingStatic : public CStatic {
public:
    int m_nPreSubclass = 0;
    bool m_bLiveAtPreSubclass = false;
    int m_nIdAtPreSubclass = 0;
    std::vector<UINT> m_seen; // messages offered to PreTranslateMessage

    BOOL PreTranslateMessage(MSG* pMsg) override {
        m_seen.push_back(pMsg->message);
        return CStatic::PreTranslateMessage(pMsg);
    }

protected:
    void PreSubclassWindow() override {
        ++m_nPreSubclass;
        m_bLiveAtPreSubclass = m_hWnd != nullptr && ::IsWindow(m_hWnd);
        m_nIdAtPreSubclass = GetDlgCtrlID();
        CStatic::PreSubclassWindow();
    }
};

class CTestDialog : public CDialog {
public:
    explicit CTestDialog(CWnd* pParent = nullptr) : CDialog(IDD_TEST_DIALOG, pParent) {}

    CWatchingStatic m_ctlLink;
    CString m_strFirst;
    CString m_strSecond;
    int m_nInitDialog = 0;
    bool m_bSecondFieldMissing = false; // bind a control the template lacks

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEST_LINK, m_ctlLink);
        DDX_Text(pDX, IDC_TEST_FIRST_EDIT, m_strFirst);
        DDX_Text(pDX, m_bSecondFieldMissing ? 4321 : IDC_TEST_SECOND_EDIT, m_strSecond);
    }
    BOOL OnInitDialog() override {
        ++m_nInitDialog;
        return CDialog::OnInitDialog();
    }
};

std::string ItemText(const CDialog& dlg, int nId) {
    return WindowText(::GetDlgItem(dlg.m_hWnd, nId));
}

TEST(ModalDialogTest, DoModalReturnsTheCodeGivenToEndDialog) {
    CTestDialog dlg;
    dlg.m_strFirst = "first";
    std::string strShown;
    INT_PTR nResult = RunModalScript(
        dlg, {
                 [&](CDialog& d) {
                     strShown = ItemText(d, IDC_TEST_FIRST_EDIT); // OnInitDialog's first exchange
                     d.EndDialog(1234);
                 },
             });
    EXPECT_EQ(1234, nResult);
    EXPECT_EQ("first", strShown);
    EXPECT_EQ(1, dlg.m_nInitDialog);
    EXPECT_EQ(nullptr, dlg.m_hWnd); // the window is gone, the object stays
    EXPECT_EQ(nullptr, dlg.m_ctlLink.m_hWnd);
}

TEST(ModalDialogTest, EscapeAndTheCloseCommandCancel) {
    CTestDialog dlg;
    INT_PTR nResult =
        RunModalScript(dlg, {
                                [&](CDialog& d) {
                                    ::PostMessageA(::GetDlgItem(d.m_hWnd, IDC_TEST_SECOND_EDIT),
                                                   WM_KEYDOWN, VK_ESCAPE, 0);
                                },
                            });
    EXPECT_EQ(IDCANCEL, nResult);

    CTestDialog again;
    nResult = RunModalScript(
        again, {
                   [](CDialog& d) { ::PostMessageA(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
               });
    EXPECT_EQ(IDCANCEL, nResult);
}

TEST(ModalDialogTest, TheFocusStartsOnTheFirstTabStop) {
    CTestDialog dlg;
    int nFocusId = 0;
    bool bActive = false;
    RunModalScript(dlg, {
                            [&](CDialog& d) {
                                nFocusId = ::GetDlgCtrlID(::GetFocus());
                                bActive = ::GetActiveWindow() == d.m_hWnd;
                                d.EndDialog(IDOK);
                            },
                        });
    EXPECT_EQ(IDC_TEST_FIRST_EDIT, nFocusId);
    EXPECT_TRUE(bActive);
}

TEST(ModalDialogTest, OkExchangesTheFieldsIntoTheMembersFirst) {
    CTestDialog dlg;
    INT_PTR nResult =
        RunModalScript(dlg, {
                                [](CDialog& d) {
                                    ::SetDlgItemTextA(d.m_hWnd, IDC_TEST_FIRST_EDIT, "typed one");
                                    ::SetDlgItemTextA(d.m_hWnd, IDC_TEST_SECOND_EDIT, "typed two");
                                    ::PostMessageA(::GetDlgItem(d.m_hWnd, IDC_TEST_FIRST_EDIT),
                                                   WM_KEYDOWN, VK_RETURN, 0);
                                },
                            });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ("typed one", dlg.m_strFirst);
    EXPECT_EQ("typed two", dlg.m_strSecond);
}

TEST(ModalDialogTest, OkStaysOpenWhenTheExchangeFails) {
    CTestDialog dlg;
    bool bOpenAfterOk = false;
    INT_PTR nResult =
        RunModalScript(dlg, {
                                [&](CDialog& d) {
                                    static_cast<CTestDialog&>(d).m_bSecondFieldMissing = true;
                                    ::PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
                                },
                                [&](CDialog& d) {
                                    bOpenAfterOk =
                                        d.m_hWnd != nullptr && ::IsWindowVisible(d.m_hWnd);
                                    d.EndDialog(IDABORT);
                                },
                            });
    EXPECT_TRUE(bOpenAfterOk);
    EXPECT_EQ(IDABORT, nResult);
}

TEST(ModalDialogTest, TheOwnerIsDisabledWhileItRunsAndEnabledAfter) {
    CDialog owner(IDD_TEST_DIALOG);
    ASSERT_TRUE(owner.Create(IDD_TEST_DIALOG));
    owner.ShowWindow(SW_SHOW);
    CTestDialog dlg(&owner);
    bool bOwnerEnabledDuring = true;
    HWND hOwnerDuring = nullptr;
    RunModalScript(dlg, {
                            [&](CDialog& d) {
                                bOwnerEnabledDuring = ::IsWindowEnabled(owner.m_hWnd) != FALSE;
                                hOwnerDuring = ::GetWindow(d.m_hWnd, GW_OWNER);
                                d.EndDialog(IDOK);
                            },
                        });
    EXPECT_FALSE(bOwnerEnabledDuring);
    EXPECT_EQ(owner.m_hWnd, hOwnerDuring);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
}

TEST(ModalDialogTest, AHiddenTemplateIsCentredOverItsOwnerUnlessPlacedByItsInit) {
    CDialog owner(IDD_TEST_DIALOG);
    ASSERT_TRUE(owner.Create(IDD_TEST_DIALOG));
    ::SetWindowPos(owner.m_hWnd, nullptr, 300, 200, 500, 400, SWP_NOZORDER);
    owner.ShowWindow(SW_SHOW);
    RECT rcOwner{};
    ::GetWindowRect(owner.m_hWnd, &rcOwner);

    CTestDialog dlg(&owner);
    RECT rcDialog{};
    RunModalScript(dlg, {
                            [&](CDialog& d) {
                                ::GetWindowRect(d.m_hWnd, &rcDialog);
                                d.EndDialog(IDOK);
                            },
                        });
    EXPECT_NEAR((rcOwner.left + rcOwner.right) / 2, (rcDialog.left + rcDialog.right) / 2, 1);
    EXPECT_NEAR((rcOwner.top + rcOwner.bottom) / 2, (rcDialog.top + rcDialog.bottom) / 2, 1);

    // A dialog that moves itself while initialising stays where it put itself.
    class CPlacedDialog : public CTestDialog {
    public:
        using CTestDialog::CTestDialog;
        BOOL OnInitDialog() override {
            CTestDialog::OnInitDialog();
            ::SetWindowPos(m_hWnd, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return TRUE;
        }
    } placed(&owner);
    RunModalScript(placed, {
                               [&](CDialog& d) {
                                   ::GetWindowRect(d.m_hWnd, &rcDialog);
                                   d.EndDialog(IDOK);
                               },
                           });
    EXPECT_EQ(10, rcDialog.left);
    EXPECT_EQ(20, rcDialog.top);
}

TEST(ModalDialogTest, AMissingTemplateFailsWithoutDisablingTheOwner) {
    CDialog owner(IDD_TEST_DIALOG);
    ASSERT_TRUE(owner.Create(IDD_TEST_DIALOG));
    CDialog missing(IDD_MISSING_DIALOG, &owner);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
}

TEST(ModalDialogTest, AChildControlSeesMessagesPostedToItBeforeDispatch) {
    CTestDialog dlg;
    std::vector<UINT> seen;
    RunModalScript(dlg, {
                            [](CDialog& d) {
                                auto& test = static_cast<CTestDialog&>(d);
                                test.m_ctlLink.m_seen.clear();
                                ::PostMessageA(test.m_ctlLink.m_hWnd, WM_TEST_POSTED, 0, 0);
                                ::PostMessageA(test.m_ctlLink.m_hWnd, WM_MOUSEMOVE, 0,
                                               MAKELPARAM(1, 1));
                            },
                            [&](CDialog& d) {
                                seen = static_cast<CTestDialog&>(d).m_ctlLink.m_seen;
                                d.EndDialog(IDOK);
                            },
                        });
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), WM_TEST_POSTED));
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_MOUSEMOVE)));
}

// The inner dialog of the nesting test, ended from a thread timer inside its own loop.
struct NestedProbe {
    CTestDialog* pInner = nullptr;
    HWND hInnerOwner = nullptr;
    bool bOwnerEnabled = true;
};
NestedProbe* g_pNestedProbe = nullptr;

void CALLBACK EndInnerDialog(HWND, UINT, UINT_PTR nIdEvent, DWORD) {
    CTestDialog* pInner = g_pNestedProbe->pInner;
    if (pInner->m_hWnd == nullptr || !::IsWindowVisible(pInner->m_hWnd)) {
        return;
    }
    ::KillTimer(nullptr, nIdEvent);
    g_pNestedProbe->hInnerOwner = ::GetWindow(pInner->m_hWnd, GW_OWNER);
    g_pNestedProbe->bOwnerEnabled = ::IsWindowEnabled(g_pNestedProbe->hInnerOwner) != FALSE;
    ::PostMessageA(pInner->m_hWnd, WM_COMMAND, IDCANCEL, 0);
}

TEST(ModalDialogTest, ADialogWithoutParentNestsOverTheMainWindow) {
    CWinApp app("Nesting Test");
    CTestDialog main;
    app.m_pMainWnd = &main;
    NestedProbe probe;
    g_pNestedProbe = &probe;
    INT_PTR nInner = 0;
    HWND hMain = nullptr;
    bool bMainEnabledAfter = false;
    INT_PTR nOuter =
        RunModalScript(main, {
                                 [&](CDialog& outer) {
                                     hMain = outer.m_hWnd;
                                     CTestDialog inner;
                                     probe.pInner = &inner;
                                     UINT_PTR nTimer = ::SetTimer(nullptr, 0, 30, &EndInnerDialog);
                                     nInner = inner.DoModal();
                                     ::KillTimer(nullptr, nTimer);
                                     bMainEnabledAfter = ::IsWindowEnabled(outer.m_hWnd) != FALSE;
                                     outer.EndDialog(IDOK);
                                 },
                             });
    g_pNestedProbe = nullptr;
    EXPECT_EQ(IDOK, nOuter);
    EXPECT_EQ(IDCANCEL, nInner);
    EXPECT_EQ(hMain, probe.hInnerOwner);
    EXPECT_FALSE(probe.bOwnerEnabled);
    EXPECT_TRUE(bMainEnabledAfter);
    EXPECT_EQ(nullptr, app.m_pMainWnd); // cleared when the main window went
}

TEST(DataExchangeTest, DdxControlSubclassesOnceWithALiveWindow) {
    CTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG)); // OnInitDialog runs the first exchange
    EXPECT_EQ(1, dlg.m_ctlLink.m_nPreSubclass);
    EXPECT_TRUE(dlg.m_ctlLink.m_bLiveAtPreSubclass);
    EXPECT_EQ(IDC_TEST_LINK, dlg.m_ctlLink.m_nIdAtPreSubclass);
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_TEST_LINK), dlg.m_ctlLink.m_hWnd);
    EXPECT_EQ(&dlg.m_ctlLink, CWnd::FromHandlePermanent(dlg.m_ctlLink.m_hWnd));

    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(1, dlg.m_ctlLink.m_nPreSubclass);

    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_ctlLink.m_hWnd); // released with its window
}

TEST(DataExchangeTest, DdxTextRoundTripsBothWays) {
    CTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    const std::string strLong(5000, 'k');
    dlg.m_strFirst = "to the control & back";
    dlg.m_strSecond = strLong;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ("to the control & back", ItemText(dlg, IDC_TEST_FIRST_EDIT));
    EXPECT_EQ(strLong, ItemText(dlg, IDC_TEST_SECOND_EDIT));

    ::SetDlgItemTextA(dlg.m_hWnd, IDC_TEST_FIRST_EDIT, "");
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_TEST_SECOND_EDIT, "typed \"text\" 100%");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ("", dlg.m_strFirst);
    EXPECT_EQ("typed \"text\" 100%", dlg.m_strSecond);
}

TEST(DataExchangeTest, AMissingControlFailsTheExchange) {
    CTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.m_bSecondFieldMissing = true;
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_TEST_FIRST_EDIT, "kept");
    dlg.m_strSecond = "unchanged";
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ("kept", dlg.m_strFirst); // the bindings before the failure ran
    EXPECT_EQ("unchanged", dlg.m_strSecond);
}

} // namespace
