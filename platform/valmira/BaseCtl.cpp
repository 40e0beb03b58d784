#include "BaseCtl.h"

#include <cstdarg>
#include <vector>

CBaseCtl::CBaseCtl()
    : m_eventCP(&m_xConnPtContainer, IID_NULL, true),
      m_propNotifyCP(&m_xConnPtContainer, IID_IPropertyNotifySink, false) {}

CBaseCtl::~CBaseCtl() {
  // Sinks go before the window, so nothing is called back during teardown.
  m_eventCP.UnadviseAll();
  m_propNotifyCP.UnadviseAll();
}

// ---- COM identity ------------------------------------------------------------------

ULONG CBaseCtl::ExternalAddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_ref)); }

ULONG CBaseCtl::ExternalRelease() {
  LONG n = InterlockedDecrement(&m_ref);
  if (n == 0) {
    // References taken and dropped while the window goes down must not release again.
    m_ref = 0x10000;
    OnFinalRelease();
  }
  return static_cast<ULONG>(n);
}

HRESULT CBaseCtl::ExternalQueryInterface(REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IDispatch* disp = GetPrimaryDispatch();
  if (disp && (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, m_dispatchIid))) {
    *ppv = disp;
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer) || (!disp && IsEqualIID(iid, IID_IUnknown))) {
    *ppv = static_cast<IConnectionPointContainer*>(&m_xConnPtContainer);
  }
  if (!*ppv) return E_NOINTERFACE;
  ExternalAddRef();
  return S_OK;
}

void CBaseCtl::OnFinalRelease() { CWnd::OnFinalRelease(); }

STDMETHODIMP CBaseCtl::XConnPtContainer::QueryInterface(REFIID riid, void** ppv) {
  return Outer()->ExternalQueryInterface(riid, ppv);
}
STDMETHODIMP_(ULONG) CBaseCtl::XConnPtContainer::AddRef() { return Outer()->ExternalAddRef(); }
STDMETHODIMP_(ULONG) CBaseCtl::XConnPtContainer::Release() { return Outer()->ExternalRelease(); }
STDMETHODIMP CBaseCtl::XConnPtContainer::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CBaseCtl::XConnPtContainer::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (!ppCP) return E_POINTER;
  *ppCP = nullptr;
  CBaseCtl* outer = Outer();
  CConnectionPoint* cp = nullptr;
  if (!IsEqualIID(outer->m_eventIid, IID_NULL) && IsEqualIID(riid, outer->m_eventIid))
    cp = &outer->m_eventCP;
  else if (IsEqualIID(riid, IID_IPropertyNotifySink))
    cp = &outer->m_propNotifyCP;
  if (!cp) return CONNECT_E_NOCONNECTION;
  cp->AddRef();
  *ppCP = cp;
  return S_OK;
}

// ---- automation description --------------------------------------------------------

void CBaseCtl::SetInterfaceIds(REFIID dispatchIid, REFIID eventIid) {
  m_dispatchIid = dispatchIid;
  m_eventIid = eventIid;
  m_eventCP.SetIid(eventIid);
}

HRESULT CBaseCtl::GetTypeLib(LCID, ITypeLib** ppTypeLib) {
  if (ppTypeLib) *ppTypeLib = nullptr;
  return TYPE_E_CANTLOADLIBRARY;
}

HRESULT CBaseCtl::GetClassID(CLSID* pClsid) {
  if (pClsid) *pClsid = CLSID_NULL;
  return E_NOTIMPL;
}

HRESULT CBaseCtl::EnsureTypeInfo() {
  if (m_interfaceInfo) return S_OK;
  // Locale 0 may answer without a library; ask with the user's locale.
  CComPtr<ITypeLib> lib;
  HRESULT hr = GetTypeLib(GetUserDefaultLCID(), &lib);
  if (FAILED(hr)) return hr;
  if (!lib) return TYPE_E_CANTLOADLIBRARY;
  CComPtr<ITypeInfo> info;
  hr = lib->GetTypeInfoOfGuid(m_dispatchIid, &info);
  if (FAILED(hr)) return hr;
  CComPtr<ITypeInfo> vtableInfo;
  hr = FxGetInterfaceTypeInfo(info, &vtableInfo);
  if (FAILED(hr)) return hr;
  m_dispatchInfo = info;
  m_interfaceInfo = vtableInfo;
  return S_OK;
}

HRESULT CBaseCtl::DispatchGetTypeInfo(UINT index, LCID, ITypeInfo** ppInfo) {
  if (!ppInfo) return E_POINTER;
  *ppInfo = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  HRESULT hr = EnsureTypeInfo();
  if (FAILED(hr)) return hr;
  m_dispatchInfo->AddRef();
  *ppInfo = m_dispatchInfo;
  return S_OK;
}

HRESULT CBaseCtl::DispatchGetIDsOfNames(LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT hr = EnsureTypeInfo();
  if (FAILED(hr)) return hr;
  return m_dispatchInfo->GetIDsOfNames(names, count, ids);
}

HRESULT CBaseCtl::DispatchInvoke(void* dualThis, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* excep, UINT* argErr) {
  HRESULT hr = EnsureTypeInfo();
  if (FAILED(hr)) return hr;
  // Errors raised inside the call come back as the dispatch exception's scode.
  SetErrorInfo(0, nullptr);
  return m_interfaceInfo->Invoke(dualThis, id, flags, params, result, excep, argErr);
}

// ---- notifications -----------------------------------------------------------------

void CBaseCtl::BoundPropertyChanged(DISPID id) {
  m_propNotifyCP.ForEachSink([id](IUnknown* sink) { static_cast<IPropertyNotifySink*>(sink)->OnChanged(id); });
  if (RunForm) RunForm->OnFormPropertyChanged(this, id);
}

void CBaseCtl::FireEvent(DISPID id, const BYTE* params, ...) {
  std::vector<VARIANTARG> args;
  va_list ap;
  va_start(ap, params);
  for (const BYTE* p = params; p && *p; ++p) {
    VARIANTARG v;
    VariantInit(&v);
    switch (*p) {
    case 0x4C: // a VARIANT passed by reference
      v.vt = VT_BYREF | VT_VARIANT;
      v.pvarVal = va_arg(ap, VARIANT*);
      break;
    case VT_I4:
      v.vt = VT_I4;
      v.lVal = va_arg(ap, long);
      break;
    default: // no other parameter kinds are fired
      va_end(ap);
      return;
    }
    args.insert(args.begin(), v); // DISPPARAMS holds arguments last to first
  }
  va_end(ap);
  DISPPARAMS dp = {args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  m_eventCP.ForEachSink([&](IUnknown* sink) {
    CVariant ignored;
    static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, &ignored, nullptr,
                                          nullptr);
  });
}

// ---- window --------------------------------------------------------------------------

BOOL CBaseCtl::CreateControl(HWND parent, const RECT& rect, UINT id, DWORD style) {
  return CreateEx(0, L"", style, rect, parent, id);
}

LRESULT CBaseCtl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_LBUTTONDOWN:
    OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
    return 0;
  default:
    return CWnd::WindowProc(msg, wParam, lParam);
  }
}

void CBaseCtl::OnLButtonDown(UINT, CPoint) {
  ++m_basePresses;
  Default();
}

void CBaseCtl::Serialize(CArchive&) {}

// ---- the generic form protocol: the base's trivial answers -----------------------------

LONG_PTR CBaseCtl::GetPropertyLong(int) { return 0; }
long CBaseCtl::SetPropertyLong(int, int) { return 0; }
CString CBaseCtl::GetPropertyString(int) { return CString(); }
CString CBaseCtl::GetMethodString(int, CString) { return CString(); }
int CBaseCtl::SetMethodString(int, CString, CString, LONG_PTR) { return 0; }
CString CBaseCtl::GetCommValue(int&, CString&, int) { return CString(); }
BOOL CBaseCtl::IsAutoSave() { return FALSE; }
void CBaseCtl::SetRunFormDispatch(CBaseCtl*, HWND, int, int) {}
void CBaseCtl::SetResizeControl(float, float, int) {}
void CBaseCtl::OnLangageModeChange(WORD) {}
void CBaseCtl::SetPreProprtySaveNotify() {}
void CBaseCtl::ColorChange() {}
int CBaseCtl::OnFormFireEventSend(CBaseCtl*, long, long, long, long, CString) { return 0; }
long CBaseCtl::SetPreNextFocusToForm(int, CBaseCtl*, HWND, LPCWSTR) { return 0; }
void CBaseCtl::SetFocusToForm(CBaseCtl*, HWND) {}
CWnd* CBaseCtl::GetChildFrameWndToForm() { return nullptr; }
void CBaseCtl::OnFormPropertyChanged(CBaseCtl*, DISPID) {}
