#pragma once
// CMenu: a wrapper of a menu handle (the system menu, in this program).

#include "framework/win32.h"

class CWnd;

class CMenu {
public:
    CMenu() = default;
    // Destroys a menu that this object owns (attached, not a FromHandle wrapper).
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; } // NOLINT
    // A temporary wrapper, valid until the message loop is next idle.
    static CMenu* FromHandle(HMENU hMenu);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    // An empty pop-up menu that this object owns.
    BOOL CreatePopupMenu();
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    // Shows the pop-up menu at (x, y) on the screen, owned by pWnd, until the user chooses
    // or cancels. With TPM_RETURNCMD in nFlags: the chosen item's id, 0 when none.
    UINT TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd);

private:
    bool m_bOwned = true;
};
