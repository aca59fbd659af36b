// CMenu: menu handles, as the system menu needs them.

#include "framework/menu.h"

#include "framework/thread_state.h"
#include "framework/wide_text.h"
#include "framework/wnd.h"

CMenu::~CMenu() {
    if (m_bOwned && m_hMenu != nullptr) {
        ::DestroyMenu(m_hMenu);
    }
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CMenu>& pMenu = AfxGetThreadState().tempMenus[hMenu];
    if (!pMenu) {
        pMenu = std::make_unique<CMenu>();
        pMenu->m_hMenu = hMenu;
        pMenu->m_bOwned = false;
    }
    return pMenu.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (hMenu == nullptr || m_hMenu != nullptr) {
        return FALSE;
    }
    m_hMenu = hMenu;
    m_bOwned = true;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, CWideText(lpszNewItem));
}

UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}

UINT CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd) {
    HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    return static_cast<UINT>(::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, nullptr));
}
