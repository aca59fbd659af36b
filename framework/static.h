#pragma once
// CStatic: a static text (or icon) control, usually a dialog's, bound by DDX_Control.

#include "framework/wnd.h"

class CStatic : public CWnd {
public:
    CStatic() = default;
    BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};
