#pragma once
// The typed thunks that message-map entries point to. Each checks the handler's
// signature at compile time, unpacks wParam/lParam as the message defines them and
// calls the handler on the object the map belongs to.

#include <type_traits>

#include "framework/gdi.h"
#include "framework/geometry.h"
#include "framework/message_map.h"
#include "framework/wnd.h"

template <class F> struct AfxMemberFn;
template <class C, class R, class... A> struct AfxMemberFn<R (C::*)(A...)> {
    using Class = C;
    using Signature = R(A...);
};

// The object of the handler's class; the map's entries belong to that class or a
// class derived from it.
template <auto Pfn, class Sig> auto* AfxHandlerObject(CCmdTarget* pTarget) {
    using Member = AfxMemberFn<decltype(Pfn)>;
    static_assert(std::is_same_v<typename Member::Signature, Sig>,
                  "the message-map handler does not have the signature its entry needs");
    static_assert(std::is_base_of_v<CCmdTarget, typename Member::Class>,
                  "message-map handlers are members of CCmdTarget classes");
    return static_cast<typename Member::Class*>(pTarget);
}

template <auto Pfn> BOOL AfxThunkVoid(CCmdTarget* pTarget, WPARAM, LPARAM, LRESULT* pResult) {
    (AfxHandlerObject<Pfn, void()>(pTarget)->*Pfn)();
    *pResult = 0;
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkMessage(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = (AfxHandlerObject<Pfn, LRESULT(WPARAM, LPARAM)>(pTarget)->*Pfn)(wParam, lParam);
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkSysCommand(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (AfxHandlerObject<Pfn, void(UINT, LPARAM)>(pTarget)->*Pfn)(static_cast<UINT>(wParam), lParam);
    *pResult = 0;
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkQueryDragIcon(CCmdTarget* pTarget, WPARAM, LPARAM, LRESULT* pResult) {
    HCURSOR hCursor = (AfxHandlerObject<Pfn, HCURSOR()>(pTarget)->*Pfn)();
    *pResult = reinterpret_cast<LRESULT>(hCursor);
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkSetCursor(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CWnd* pWnd = CWnd::FromHandle(reinterpret_cast<HWND>(wParam));
    *pResult = (AfxHandlerObject<Pfn, BOOL(CWnd*, UINT, UINT)>(pTarget)->*Pfn)(pWnd, LOWORD(lParam),
                                                                               HIWORD(lParam));
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkMouse(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (AfxHandlerObject<Pfn, void(UINT, CPoint)>(pTarget)->*Pfn)(static_cast<UINT>(wParam),
                                                               CPoint(lParam));
    *pResult = 0;
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkContextMenu(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (AfxHandlerObject<Pfn, void(CWnd*, CPoint)>(pTarget)->*Pfn)(
        CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), CPoint(lParam));
    *pResult = 0;
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkTimer(CCmdTarget* pTarget, WPARAM wParam, LPARAM, LRESULT* pResult) {
    (AfxHandlerObject<Pfn, void(UINT_PTR)>(pTarget)->*Pfn)(static_cast<UINT_PTR>(wParam));
    *pResult = 0;
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkEraseBkgnd(CCmdTarget* pTarget, WPARAM wParam, LPARAM, LRESULT* pResult) {
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    *pResult = (AfxHandlerObject<Pfn, BOOL(CDC*)>(pTarget)->*Pfn)(pDC);
    return TRUE;
}

// lParam: the AFX_CTLCOLOR the window procedure made of the WM_CTLCOLOR... message.
template <auto Pfn>
BOOL AfxThunkCtlColor(CCmdTarget* pTarget, WPARAM, LPARAM lParam, LRESULT* pResult) {
    const auto* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
    HBRUSH hBrush = (AfxHandlerObject<Pfn, HBRUSH(CDC*, CWnd*, UINT)>(pTarget)->*Pfn)(
        CDC::FromHandle(pCtl->hDC), CWnd::FromHandle(pCtl->hWnd), pCtl->nCtlType);
    if (hBrush == nullptr) {
        return FALSE;
    }
    *pResult = reinterpret_cast<LRESULT>(hBrush);
    return TRUE;
}

template <auto Pfn>
BOOL AfxThunkCtlColorReflect(CCmdTarget* pTarget, WPARAM, LPARAM lParam, LRESULT* pResult) {
    const auto* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
    HBRUSH hBrush = (AfxHandlerObject<Pfn, HBRUSH(CDC*, UINT)>(pTarget)->*Pfn)(
        CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
    if (hBrush == nullptr) {
        return FALSE;
    }
    *pResult = reinterpret_cast<LRESULT>(hBrush);
    return TRUE;
}
