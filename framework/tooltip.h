#pragma once
// CToolTipCtrl: a tool tip window that owns its window (destroyed with the object, or
// with its parent window). It learns of the pointer from messages relayed to it.

#include "framework/wnd.h"

class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl() = default;

    // A WS_POPUP tool tip owned by pParentWnd, plus dwStyle (TTS_...). Loads the
    // common controls' tool tip class first.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // One tool: rectangle lpRectTool of pWnd's client area, identified by nIDTool,
    // showing lpszText (the control copies the text).
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
    // Moves the rectangle of pWnd's tool nIDTool.
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    // Hands a mouse message to the tool tip (TTM_RELAYEVENT).
    void RelayEvent(LPMSG lpMsg);
    int GetToolCount() const;
    void Activate(BOOL bActivate);
};
