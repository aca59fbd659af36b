// What screen readers learn of a CHyperLink: a link named by its text, whose value is
// its URL and whose default action opens it.

#include "controls/hyperlink.h"

namespace {

class CHyperLinkAccessible : public CAccessibleProxy {
public:
    explicit CHyperLinkAccessible(CHyperLink* pLink)
        : CAccessibleProxy(pLink->m_hWnd), m_pLink(pLink) {}

protected:
    BOOL OnGetName(CString& rName) override {
        m_pLink->GetWindowText(rName);
        return TRUE;
    }
    BOOL OnGetValue(CString& rValue) override {
        rValue = m_pLink->m_strLinkUrl;
        return TRUE;
    }
    BOOL OnGetRole(LONG& nRole) override {
        nRole = ROLE_SYSTEM_LINK;
        return TRUE;
    }
    BOOL OnGetState(LONG& nState) override {
        // The window's visibility and availability as the system sees them.
        nState &= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_OFFSCREEN;
        nState |= STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == m_pLink->m_hWnd) {
            nState |= STATE_SYSTEM_FOCUSED;
        }
        if (m_pLink->m_bLinkVisited) {
            nState |= STATE_SYSTEM_TRAVERSED;
        }
        return TRUE;
    }
    BOOL OnGetDefaultAction(CString& rAction) override {
        rAction = "Jump";
        return TRUE;
    }
    BOOL OnDoDefaultAction() override {
        // Posted as the click it stands for: the caller may be another program, which
        // must not wait on a launch or its error box.
        m_pLink->PostMessage(WM_REFLECT_BASE + WM_COMMAND,
                             MAKEWPARAM(m_pLink->GetDlgCtrlID(), STN_CLICKED),
                             reinterpret_cast<LPARAM>(m_pLink->m_hWnd));
        return TRUE;
    }

private:
    CHyperLink* m_pLink; // valid while connected: the link disconnects before it goes
};

} // namespace

CAccessibleProxy* CHyperLink::CreateAccessibleObject() {
    return new CHyperLinkAccessible(this);
}

void CHyperLink::ReleaseAccessibleObject() {
    if (m_pAccessible != nullptr) {
        m_pAccessible->Disconnect();
        m_pAccessible->Release();
        m_pAccessible = nullptr;
    }
}

LRESULT CHyperLink::OnGetObject(WPARAM wParam, LPARAM lParam) {
    // Only the client area is ours; the window's frame and the rest are the system's.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
        return Default();
    }
    if (m_pAccessible == nullptr) {
        m_pAccessible = CreateAccessibleObject();
    }
    const LRESULT lResult = m_pAccessible->GetObjectResult(wParam);
    return lResult != 0 ? lResult : Default();
}

void CHyperLink::OnDestroy() {
    ReleaseAccessibleObject();
    Default();
}
