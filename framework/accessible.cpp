// CAccessibleProxy: the standard accessible object of a window's client area, with the
// answers about the window itself that a derived class gives in its place.

#include "framework/accessible.h"

#include <new>

#include "framework/wide_text.h"

namespace {

bool IsSelf(const VARIANT& varID) {
    return varID.vt == VT_I4 && varID.lVal == CHILDID_SELF;
}

HRESULT GiveText(const CString& str, BSTR* pbstr) {
    if (pbstr == nullptr) {
        return E_POINTER;
    }
    const CWideText strWide(str);
    *pbstr = ::SysAllocStringLen(strWide, static_cast<UINT>(strWide.GetLength()));
    return *pbstr != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Our own answers run behind this: no exception may cross into COM, which would take it
// into its caller, another program perhaps.
template <class Answer> HRESULT Guarded(Answer answer) noexcept {
    try {
        return answer();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT GiveLong(LONG n, VARIANT* pvar) {
    if (pvar == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(pvar);
    pvar->vt = VT_I4;
    pvar->lVal = n;
    return S_OK;
}

} // namespace

CAccessibleProxy::CAccessibleProxy(HWND hWnd) {
    void* pStd = nullptr;
    if (SUCCEEDED(::CreateStdAccessibleObject(hWnd, OBJID_CLIENT, IID_IAccessible, &pStd))) {
        m_pStd = static_cast<IAccessible*>(pStd);
    }
}

CAccessibleProxy::~CAccessibleProxy() {
    Disconnect();
}

void CAccessibleProxy::Disconnect() {
    if (m_pStd == nullptr) {
        return;
    }
    IAccessible* pStd = m_pStd;
    m_pStd = nullptr;
    pStd->Release();
    // Clients in other processes hold stubs; this cuts them off and releases theirs.
    ::CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

LRESULT CAccessibleProxy::GetObjectResult(WPARAM wParam) {
    if (m_pStd == nullptr) {
        return 0;
    }
    // Handing the object out marshals it, which needs COM on this thread; a window
    // thread that never started it joins an apartment for the rest of its life.
    thread_local const HRESULT hrCom = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    static_cast<void>(hrCom);
    const LRESULT lResult =
        ::LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(this));
    return lResult > 0 ? lResult : 0;
}

HRESULT CAccessibleProxy::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
        *ppvObject = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleProxy::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs));
}

ULONG CAccessibleProxy::Release() {
    const LONG nRefs = ::InterlockedDecrement(&m_nRefs);
    if (nRefs == 0) {
        delete this;
    }
    return static_cast<ULONG>(nRefs);
}

BOOL CAccessibleProxy::OnGetName(CString&) {
    return FALSE;
}

BOOL CAccessibleProxy::OnGetValue(CString&) {
    return FALSE;
}

BOOL CAccessibleProxy::OnGetRole(LONG&) {
    return FALSE;
}

BOOL CAccessibleProxy::OnGetState(LONG&) {
    return FALSE;
}

BOOL CAccessibleProxy::OnGetDefaultAction(CString&) {
    return FALSE;
}

BOOL CAccessibleProxy::OnDoDefaultAction() {
    return FALSE;
}

// ---- Answered here about the window itself, else by the standard object ----

HRESULT CAccessibleProxy::AnswerText(BOOL (CAccessibleProxy::*pfnOwn)(CString&),
                                     HRESULT (STDMETHODCALLTYPE IAccessible::*pfnStd)(VARIANT,
                                                                                      BSTR*),
                                     VARIANT varID, BSTR* pbstr) {
    if (m_pStd == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    return Guarded([&] {
        CString str;
        return IsSelf(varID) && (this->*pfnOwn)(str) ? GiveText(str, pbstr)
                                                     : (m_pStd->*pfnStd)(varID, pbstr);
    });
}

HRESULT CAccessibleProxy::get_accName(VARIANT varID, BSTR* pszName) {
    return AnswerText(&CAccessibleProxy::OnGetName, &IAccessible::get_accName, varID, pszName);
}

HRESULT CAccessibleProxy::get_accValue(VARIANT varID, BSTR* pszValue) {
    return AnswerText(&CAccessibleProxy::OnGetValue, &IAccessible::get_accValue, varID, pszValue);
}

HRESULT CAccessibleProxy::get_accDefaultAction(VARIANT varID, BSTR* pszDefaultAction) {
    return AnswerText(&CAccessibleProxy::OnGetDefaultAction, &IAccessible::get_accDefaultAction,
                      varID, pszDefaultAction);
}

HRESULT CAccessibleProxy::get_accRole(VARIANT varID, VARIANT* pvarRole) {
    LONG nRole = 0;
    if (m_pStd == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    return Guarded([&] {
        return IsSelf(varID) && OnGetRole(nRole) ? GiveLong(nRole, pvarRole)
                                                 : m_pStd->get_accRole(varID, pvarRole);
    });
}

HRESULT CAccessibleProxy::get_accState(VARIANT varID, VARIANT* pvarState) {
    if (m_pStd == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    if (!IsSelf(varID)) {
        return m_pStd->get_accState(varID, pvarState);
    }
    VARIANT varStd;
    ::VariantInit(&varStd);
    const HRESULT hr = m_pStd->get_accState(varID, &varStd);
    LONG nState = hr == S_OK && varStd.vt == VT_I4 ? varStd.lVal : 0;
    if (Guarded([&] { return OnGetState(nState) ? S_OK : S_FALSE; }) == S_OK) {
        ::VariantClear(&varStd);
        return GiveLong(nState, pvarState);
    }
    if (pvarState == nullptr) {
        ::VariantClear(&varStd);
        return E_POINTER;
    }
    *pvarState = varStd;
    return hr;
}

HRESULT CAccessibleProxy::accDoDefaultAction(VARIANT varID) {
    if (m_pStd == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    return Guarded([&] {
        return IsSelf(varID) && OnDoDefaultAction() ? S_OK : m_pStd->accDoDefaultAction(varID);
    });
}

// ---- The standard object's answers ----

#define KESTROW_FORWARD(call) return m_pStd != nullptr ? m_pStd->call : RPC_E_DISCONNECTED

HRESULT CAccessibleProxy::GetTypeInfoCount(UINT* pctinfo) {
    KESTROW_FORWARD(GetTypeInfoCount(pctinfo));
}

HRESULT CAccessibleProxy::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) {
    KESTROW_FORWARD(GetTypeInfo(iTInfo, lcid, ppTInfo));
}

HRESULT CAccessibleProxy::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                        DISPID* rgDispId) {
    KESTROW_FORWARD(GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId));
}

HRESULT CAccessibleProxy::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                 DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                 EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    KESTROW_FORWARD(
        Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr));
}

HRESULT CAccessibleProxy::get_accParent(IDispatch** ppdispParent) {
    KESTROW_FORWARD(get_accParent(ppdispParent));
}

HRESULT CAccessibleProxy::get_accChildCount(LONG* pcountChildren) {
    KESTROW_FORWARD(get_accChildCount(pcountChildren));
}

HRESULT CAccessibleProxy::get_accChild(VARIANT varChildID, IDispatch** ppdispChild) {
    KESTROW_FORWARD(get_accChild(varChildID, ppdispChild));
}

HRESULT CAccessibleProxy::get_accDescription(VARIANT varID, BSTR* pszDescription) {
    KESTROW_FORWARD(get_accDescription(varID, pszDescription));
}

HRESULT CAccessibleProxy::get_accHelp(VARIANT varID, BSTR* pszHelp) {
    KESTROW_FORWARD(get_accHelp(varID, pszHelp));
}

HRESULT CAccessibleProxy::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varID, LONG* pidTopic) {
    KESTROW_FORWARD(get_accHelpTopic(pszHelpFile, varID, pidTopic));
}

HRESULT CAccessibleProxy::get_accKeyboardShortcut(VARIANT varID, BSTR* pszKeyboardShortcut) {
    KESTROW_FORWARD(get_accKeyboardShortcut(varID, pszKeyboardShortcut));
}

HRESULT CAccessibleProxy::get_accFocus(VARIANT* pvarID) {
    KESTROW_FORWARD(get_accFocus(pvarID));
}

HRESULT CAccessibleProxy::get_accSelection(VARIANT* pvarID) {
    KESTROW_FORWARD(get_accSelection(pvarID));
}

HRESULT CAccessibleProxy::accSelect(LONG flagsSelect, VARIANT varID) {
    KESTROW_FORWARD(accSelect(flagsSelect, varID));
}

HRESULT CAccessibleProxy::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                      VARIANT varID) {
    KESTROW_FORWARD(accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varID));
}

HRESULT CAccessibleProxy::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEnd) {
    KESTROW_FORWARD(accNavigate(navDir, varStart, pvarEnd));
}

HRESULT CAccessibleProxy::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarID) {
    KESTROW_FORWARD(accHitTest(xLeft, yTop, pvarID));
}

HRESULT CAccessibleProxy::put_accName(VARIANT varID, BSTR pszName) {
    KESTROW_FORWARD(put_accName(varID, pszName));
}

HRESULT CAccessibleProxy::put_accValue(VARIANT varID, BSTR pszValue) {
    KESTROW_FORWARD(put_accValue(varID, pszValue));
}

#undef KESTROW_FORWARD
