#pragma once
// Static message maps: each class with DECLARE_MESSAGE_MAP() has one table of entries,
// chained to its base class's table. Each entry holds a small typed "thunk" that
// unpacks the message's parameters and calls the handler with its framework signature;
// the macros check that signature at compile time.
//
//   class CMyDlg : public CDialog {
//       ...
//       afx_msg void OnPaint();
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_PAINT()
//       ON_BN_CLICKED(IDC_GO, &CMyDlg::OnBnClickedGo)
//   END_MESSAGE_MAP()
//
// Command and reflection entries take the handler as &Class::Member; the ON_WM_...
// entries use the framework's fixed handler names of the class being mapped.

#include "framework/win32.h"

class CCmdTarget;

#define afx_msg

// Offsets of the messages that a parent sends back to the child control they concern.
#define WM_REFLECT_BASE 0xBC00
// WM_CTLCOLOR of the 16-bit API, under which all WM_CTLCOLOR... messages are mapped.
#define WM_CTLCOLOR 0x0019

// Unpacks wParam/lParam, calls the handler and sets the result. FALSE: the handler
// declined the message, which then gets the processing it would have had without it.
typedef BOOL (*AFX_PTHUNK)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // 0 ends the table
    UINT nCode;    // notification code (WM_COMMAND and reflected WM_COMMAND)
    UINT nID;      // first control or command id (WM_COMMAND)
    UINT nLastID;  // last id of the range
    AFX_PTHUNK pfnThunk;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What the parent hands its child with a reflected WM_CTLCOLOR... message (in lParam).
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType; // CTLCOLOR_STATIC etc.
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        typedef theClass ThisClass [[maybe_unused]];                                               \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// ---- Commands ----------------------------------------------------------------------

// void OnCommand();   (command id, from a menu, accelerator or button)
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, (UINT)(id), (UINT)(id), &AfxThunkVoid<memberFxn>},

// void OnNotify();   (notification code from control id)
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), &AfxThunkVoid<memberFxn>},

// void OnBnClickedX();
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// void OnEnChangeX();   (an edit control's text changed)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

// ---- Window messages (handler names are fixed, as in the framework) -----------------

// void OnSysCommand(UINT nID, LPARAM lParam);
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, 0, &AfxThunkSysCommand<&ThisClass::OnSysCommand>},

// void OnPaint();
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &AfxThunkVoid<&ThisClass::OnPaint>},

// HCURSOR OnQueryDragIcon();
#define ON_WM_QUERYDRAGICON()                                                                      \
    {WM_QUERYDRAGICON, 0, 0, 0, &AfxThunkQueryDragIcon<&ThisClass::OnQueryDragIcon>},

// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
#define ON_WM_SETCURSOR() {WM_SETCURSOR, 0, 0, 0, &AfxThunkSetCursor<&ThisClass::OnSetCursor>},

// void OnMouseMove(UINT nFlags, CPoint point);
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, &AfxThunkMouse<&ThisClass::OnMouseMove>},

// void OnLButtonDown(UINT nFlags, CPoint point);
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, 0, &AfxThunkMouse<&ThisClass::OnLButtonDown>},

// void OnLButtonUp(UINT nFlags, CPoint point);
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, &AfxThunkMouse<&ThisClass::OnLButtonUp>},

// void OnTimer(UINT_PTR nIDEvent);
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, &AfxThunkTimer<&ThisClass::OnTimer>},

// BOOL OnEraseBkgnd(CDC* pDC);
#define ON_WM_ERASEBKGND() {WM_ERASEBKGND, 0, 0, 0, &AfxThunkEraseBkgnd<&ThisClass::OnEraseBkgnd>},

// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
// (all WM_CTLCOLOR... messages; a null brush leaves the message to default processing)
#define ON_WM_CTLCOLOR() {WM_CTLCOLOR, 0, 0, 0, &AfxThunkCtlColor<&ThisClass::OnCtlColor>},

// void OnContextMenu(CWnd* pWnd, CPoint pos);
// (pos in screen coordinates; (-1, -1) when asked for from the keyboard)
#define ON_WM_CONTEXTMENU()                                                                        \
    {WM_CONTEXTMENU, 0, 0, 0, &AfxThunkContextMenu<&ThisClass::OnContextMenu>},

// void OnDestroy();
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &AfxThunkVoid<&ThisClass::OnDestroy>},

// ---- Reflected messages: the parent hands them back to the control -----------------

// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
// (a null brush declines: the parent then handles the message itself)
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, &AfxThunkCtlColorReflect<&ThisClass::CtlColor>},

// void OnNotify();   (the control's own notification code, e.g. STN_CLICKED)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                 \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, &AfxThunkVoid<memberFxn>},

// LRESULT OnMessage(WPARAM wParam, LPARAM lParam);
#define ON_MESSAGE(message, memberFxn) {(UINT)(message), 0, 0, 0, &AfxThunkMessage<memberFxn>},
