#pragma once
// The program's icon at the sizes the system uses on the display a window is on.

#include <windows.h>

// A window's large (SM_CXICON) and small (SM_CXSMICON) icons, loaded again when the
// window moves to a display of another resolution; destroyed with this object.
class CAppIcons {
public:
    CAppIcons() = default;
    ~CAppIcons();
    CAppIcons(const CAppIcons&) = delete;
    CAppIcons& operator=(const CAppIcons&) = delete;

    // Loads both for hWnd's display, in place of the ones held; an icon that cannot be
    // loaded is nullptr. Whoever showed the old ones shows the new ones at once.
    void LoadFor(HWND hWnd);

    HICON m_hLarge = nullptr;
    HICON m_hSmall = nullptr;
};

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
