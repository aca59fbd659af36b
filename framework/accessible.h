#pragma once
// CAccessibleProxy: what a screen reader learns of a window's client area (its
// IAccessible, given out in answer to WM_GETOBJECT), built on the system's standard
// object for that window. A derived class answers the questions about the window itself
// that it knows better; everything else is the standard object's answer.
//
//   LRESULT CMyCtrl::OnGetObject(WPARAM wParam, LPARAM lParam) {
//       if (static_cast<LONG>(lParam) == OBJID_CLIENT && m_pAccessible == nullptr)
//           m_pAccessible = CMyAccessible::Create(this);        // one reference, ours
//       return m_pAccessible != nullptr && static_cast<LONG>(lParam) == OBJID_CLIENT
//                  ? m_pAccessible->GetObjectResult(wParam) : Default();
//   }
//   ... and on WM_DESTROY: m_pAccessible->Disconnect(); m_pAccessible->Release();

#include "framework/cstring.h"
#include "framework/win32.h"

#include <oleacc.h>

class CAccessibleProxy : public IAccessible {
public:
    CAccessibleProxy(const CAccessibleProxy&) = delete;
    CAccessibleProxy& operator=(const CAccessibleProxy&) = delete;

    // Whether the standard object was made and the window has not let go of this one.
    BOOL IsConnected() const { return m_pStd != nullptr; }
    // The window is going: drops the standard object and the links of clients still
    // holding this object, whose questions then fail with RPC_E_DISCONNECTED.
    void Disconnect();
    // The answer to WM_GETOBJECT (its wParam) for this object; 0 when it cannot be given.
    LRESULT GetObjectResult(WPARAM wParam);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: the standard object's
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pcountChildren) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChildID, IDispatch** ppdispChild) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT varID, BSTR* pszName) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varID, BSTR* pszValue) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varID, BSTR* pszDescription) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varID, VARIANT* pvarRole) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT varID, VARIANT* pvarState) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varID, BSTR* pszHelp) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varID,
                                               LONG* pidTopic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varID,
                                                      BSTR* pszKeyboardShortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarID) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarID) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varID, BSTR* pszDefaultAction) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flagsSelect, VARIANT varID) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth,
                                          LONG* pcyHeight, VARIANT varID) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEnd) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarID) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varID) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT varID, BSTR pszName) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varID, BSTR pszValue) override;

protected:
    // Asks the system for the standard object of hWnd's client area; without one the
    // object starts disconnected.
    explicit CAccessibleProxy(HWND hWnd);
    virtual ~CAccessibleProxy();

    // The answers about the window itself (CHILDID_SELF); FALSE gives the standard
    // object's. OnGetState gets the standard object's state to start from.
    virtual BOOL OnGetName(CString& rName);
    virtual BOOL OnGetValue(CString& rValue);
    virtual BOOL OnGetRole(LONG& nRole);
    virtual BOOL OnGetState(LONG& nState);
    virtual BOOL OnGetDefaultAction(CString& rAction);
    virtual BOOL OnDoDefaultAction();

private:
    // A text about the window itself from pfnOwn, else the standard object's pfnStd.
    HRESULT AnswerText(BOOL (CAccessibleProxy::*pfnOwn)(CString&),
                       HRESULT (STDMETHODCALLTYPE IAccessible::*pfnStd)(VARIANT, BSTR*),
                       VARIANT varID, BSTR* pbstr);

    IAccessible* m_pStd = nullptr;
    LONG m_nRefs = 1;
};
