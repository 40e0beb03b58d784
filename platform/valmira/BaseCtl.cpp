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
  } else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    // Only a control with a class of its own in a type library can describe it.
    CLSID clsid;
    if (SUCCEEDED(GetClassID(&clsid))) *ppv = static_cast<IProvideClassInfo2*>(&m_xProvideClassInfo);
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
std::vector<IConnectionPoint*> CBaseCtl::AllConnectionPoints() {
  std::vector<IConnectionPoint*> points;
  if (!IsEqualIID(m_eventIid, IID_NULL)) points.push_back(&m_eventCP);
  points.push_back(&m_propNotifyCP);
  IConnectionPoint* extra[16] = {};
  int n = GetExtraConnectionPoints(extra, 16);
  for (int i = 0; i < n && i < 16; ++i)
    if (extra[i]) points.push_back(extra[i]);
  return points;
}

STDMETHODIMP CBaseCtl::XConnPtContainer::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  std::vector<IConnectionPoint*> points = Outer()->AllConnectionPoints();
  return FxCreateEnumConnectionPoints(points.data(), static_cast<ULONG>(points.size()), ppEnum);
}

STDMETHODIMP CBaseCtl::XConnPtContainer::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (!ppCP) return E_POINTER;
  *ppCP = nullptr;
  CBaseCtl* outer = Outer();
  IConnectionPoint* cp = outer->GetConnectionHook(riid);
  for (IConnectionPoint* p : cp ? std::vector<IConnectionPoint*>() : outer->AllConnectionPoints()) {
    IID iid;
    if (SUCCEEDED(p->GetConnectionInterface(&iid)) && IsEqualIID(iid, riid)) {
      cp = p;
      break;
    }
  }
  if (!cp) return CONNECT_E_NOCONNECTION;
  cp->AddRef();
  *ppCP = cp;
  return S_OK;
}

int CBaseCtl::GetExtraConnectionPoints(IConnectionPoint**, int) { return 0; }
IConnectionPoint* CBaseCtl::GetConnectionHook(REFIID) { return nullptr; }

STDMETHODIMP CBaseCtl::XProvideClassInfo::GetClassInfo(ITypeInfo** ppTI) {
  if (!ppTI) return E_POINTER;
  *ppTI = nullptr;
  CLSID clsid;
  HRESULT hr = m_outer->GetClassID(&clsid);
  if (FAILED(hr)) return hr;
  CComPtr<ITypeLib> lib;
  hr = m_outer->GetTypeLib(GetUserDefaultLCID(), &lib);
  if (FAILED(hr)) return hr;
  if (!lib) return TYPE_E_CANTLOADLIBRARY;
  return lib->GetTypeInfoOfGuid(clsid, ppTI);
}

STDMETHODIMP CBaseCtl::XProvideClassInfo::GetGUID(DWORD dwGuidKind, GUID* pGUID) {
  if (!pGUID) return E_POINTER;
  *pGUID = GUID_NULL;
  if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  // The coclass's implemented type marked both default and source.
  CComPtr<ITypeInfo> coclass;
  HRESULT hr = GetClassInfo(&coclass);
  if (FAILED(hr)) return hr;
  TYPEATTR* attr = nullptr;
  hr = coclass->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  WORD count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    CComPtr<ITypeInfo> source;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) ||
        (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
      continue;
    if (FAILED(coclass->GetRefTypeOfImplType(i, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, &source))) continue;
    TYPEATTR* sourceAttr = nullptr;
    if (FAILED(source->GetTypeAttr(&sourceAttr))) continue;
    *pGUID = sourceAttr->guid;
    source->ReleaseTypeAttr(sourceAttr);
    return S_OK;
  }
  return E_UNEXPECTED;
}

// ---- automation description --------------------------------------------------------

const CRuntimeClass CBaseCtl::classCBaseCtl = {"CBaseCtl", nullptr};

BOOL CBaseCtl::GetDispatchIID(IID* pIID) {
  if (!pIID) return FALSE;
  *pIID = m_dispatchIid;
  return !IsEqualIID(m_dispatchIid, IID_NULL);
}

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
  // A handler run by the call may release the control: it stays whole until the call returns.
  CWndUse use(this);
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
  // A handler may drop the last reference but the one the firing holds.
  ExternalAddRef();
  struct Keep {
    CBaseCtl* ctl;
    ~Keep() { ctl->ExternalRelease(); }
  } keep{this};
  m_eventCP.ForEachSink([&](IUnknown* sink) {
    CVariant ignored;
    static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, &ignored, nullptr,
                                          nullptr);
  });
}

// ---- window --------------------------------------------------------------------------

BOOL CBaseCtl::Create(LPCWSTR, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, HWND hWndParent, UINT nID,
                      void*) {
  if (m_hWnd) return FALSE;
  m_cxExtent = rect.right - rect.left;
  m_cyExtent = rect.bottom - rect.top;
  return CreateEx(0, lpszWindowName ? lpszWindowName : L"", dwStyle, rect, hWndParent, nID);
}

BOOL CBaseCtl::LoadControl(CArchive& ar) {
  if (ar.IsStoring() || m_hWnd) return FALSE;
  Serialize(ar);
  return TRUE;
}

void CBaseCtl::GetControlSize(int* pcx, int* pcy) {
  if (m_hWnd) {
    CRect r = GetWindowRect();
    m_cxExtent = r.Width();
    m_cyExtent = r.Height();
  }
  if (pcx) *pcx = m_cxExtent;
  if (pcy) *pcy = m_cyExtent;
}

BOOL CBaseCtl::SetControlSize(int cx, int cy) {
  if (cx < 0 || cy < 0) return FALSE;
  m_cxExtent = cx;
  m_cyExtent = cy;
  if (m_hWnd) return ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

void CBaseCtl::SetCtrlInfo(LPCWSTR lpszName, int nControlType, UINT nID) {
  m_ctrlName = lpszName ? lpszName : L"";
  m_controlType = nControlType;
  m_ctrlId = nID;
}

// A windowed control that paints through a clipped paint DC.
DWORD CBaseCtl::GetControlFlags() { return clipPaintDC; }

void CBaseCtl::OnDraw(CDC*, const CRect&, const CRect&) {}

UINT CBaseCtl::ControlPropertiesFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Valmira Control Properties");
  return format;
}

BOOL CBaseCtl::OnGetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium) {
  if (!lpFormatEtc || !lpStgMedium || lpFormatEtc->cfFormat != ControlPropertiesFormat() ||
      !(lpFormatEtc->tymed & TYMED_HGLOBAL))
    return FALSE;
  std::vector<BYTE> bytes;
  CArchive ar(bytes, CArchive::store);
  try {
    Serialize(ar);
  } catch (const CArchiveException&) {
    return FALSE;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
  if (!memory) return FALSE;
  if (void* p = GlobalLock(memory)) {
    if (!bytes.empty()) memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(memory);
  }
  lpStgMedium->tymed = TYMED_HGLOBAL;
  lpStgMedium->hGlobal = memory;
  lpStgMedium->pUnkForRelease = nullptr;
  return TRUE;
}

// The base has no property pages to show.
BOOL CBaseCtl::ShowPropertySheet() { return FALSE; }

BOOL CBaseCtl::OnGetDisplayString(DISPID dispid, CString& strValue) {
  IDispatch* disp = GetPrimaryDispatch();
  if (!disp) return FALSE;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  CVariant value;
  if (FAILED(
          disp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr)))
    return FALSE;
  if (FAILED(VariantChangeType(&value, &value, VARIANT_ALPHABOOL, VT_BSTR))) return FALSE;
  strValue = value.bstrVal ? value.bstrVal : L"";
  return TRUE;
}

BOOL CBaseCtl::OnMapPropertyToPage(DISPID, LPCLSID lpclsid, BOOL* pbPageOptional) {
  if (lpclsid) *lpclsid = CLSID_NULL;
  if (pbPageOptional) *pbPageOptional = TRUE;
  return FALSE;
}

BOOL CBaseCtl::OnGetPredefinedStrings(DISPID, CStringArray*, CDWordArray*) { return FALSE; }
BOOL CBaseCtl::OnGetPredefinedValue(DISPID, DWORD, VARIANT*) { return FALSE; }

BOOL CBaseCtl::OnInactiveSetCursor(LPCRECT, long, long, DWORD, BOOL bSetAlways) {
  if (bSetAlways) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return bSetAlways;
}

void CBaseCtl::PrintClient(HDC hdc) {
  CDC dc(hdc);
  CRect client = GetClientRect();
  OnDraw(&dc, client, client);
}

void CBaseCtl::PrintChildren(HDC hdc, UINT flags) {
  // Bottom of the z-order first, each at its place in the client area.
  HWND child = ::GetWindow(m_hWnd, GW_CHILD);
  if (!child) return;
  for (HWND last = ::GetWindow(child, GW_HWNDLAST); last; last = ::GetWindow(last, GW_HWNDPREV)) {
    if (!::IsWindowVisible(last)) continue;
    RECT r;
    ::GetWindowRect(last, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    POINT old;
    ::OffsetViewportOrgEx(hdc, r.left, r.top, &old);
    ::SendMessageW(last, WM_PRINT, reinterpret_cast<WPARAM>(hdc), flags & ~PRF_CHECKVISIBLE);
    ::SetViewportOrgEx(hdc, old.x, old.y, nullptr);
  }
}

LRESULT CBaseCtl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_LBUTTONDOWN:
    OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
    return 0;
  case WM_PRINTCLIENT:
    PrintClient(reinterpret_cast<HDC>(wParam));
    return 0;
  case WM_PRINT: {
    if ((lParam & PRF_CHECKVISIBLE) && !IsWindowVisible()) return 0;
    // The frame and background through the default processing, then the control's own
    // drawing and its children, which the default processing leaves out.
    LRESULT result = CWnd::WindowProc(msg, wParam, lParam & ~(PRF_CLIENT | PRF_CHILDREN | PRF_OWNED));
    HDC hdc = reinterpret_cast<HDC>(wParam);
    // The caller's origin is the window's corner; the client area may lie inside a frame.
    POINT client = {0, 0};
    ::ClientToScreen(m_hWnd, &client);
    CRect window = GetWindowRect();
    POINT old;
    ::OffsetViewportOrgEx(hdc, client.x - window.left, client.y - window.top, &old);
    if (lParam & PRF_CLIENT) PrintClient(hdc);
    if (lParam & PRF_CHILDREN) PrintChildren(hdc, static_cast<UINT>(lParam));
    ::SetViewportOrgEx(hdc, old.x, old.y, nullptr);
    return result;
  }
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

void CBaseCtl::OnChangParentColor() {}
void CBaseCtl::SetFormRButtonClick() {}
void CBaseCtl::LinkEvent(LPCWSTR) {}
void CBaseCtl::GetLinkTagData(LPCWSTR) {}
void CBaseCtl::SetLinkTagData(LPCWSTR) {}
void CBaseCtl::SetBuilderViewWnd(HWND) {}
void CBaseCtl::SetRunFormDllWnd(HWND) {}
void CBaseCtl::AddControl(CBaseCtl*, long) {}
void CBaseCtl::SendMessageDllViewFromMain(int, LPCWSTR) {}
void CBaseCtl::SetCommonLocalLinkEvent(LPCWSTR, LPCWSTR) {}
void CBaseCtl::SetLinkTagDataToForm(LPCWSTR, LPCWSTR) {}
void CBaseCtl::LayoutTabGetLinkTagData(LPCWSTR, long, int) {}
void CBaseCtl::OnFormResizeControlProc(int, int, _TREEITEM*) {}
void CBaseCtl::OnFormSplitResizeControlProc(int, int, _TREEITEM*) {}
void CBaseCtl::SetFormGroupBoxDataProc(CBaseCtl*, int, int) {}
void CBaseCtl::SetInterestCodeChange(CObArray*, LPCWSTR, int) {}
void CBaseCtl::SetLastData(LPCWSTR, LPCWSTR, LPCWSTR) {}
void CBaseCtl::SetSplitControlResizeControl(int, float, float) {}
void CBaseCtl::OnFormAnchorResizeControlProc(int, int, int, _TREEITEM*) {}
void CBaseCtl::SetResizeControlEx(float, float, float, float, int) {}
void CBaseCtl::MoveControlProc(HWND, int, int, int, int, long) {}
void CBaseCtl::SetBinaryData(long, char*, CString) {}
void CBaseCtl::SetCommonParentFormToChildFormProc(int, int, CString) {}
void CBaseCtl::SetCommonMultiLangPropertyDataProc(CString, int) {}
void CBaseCtl::GetCommDataMsg(long, CString, int&, CString&, CString&, int) {}
long CBaseCtl::CommGetTranInfo(LPCWSTR, LPCWSTR) { return 0; }
long CBaseCtl::GetInterestInfo(CObArray*, LPCWSTR) { return 0; }
long CBaseCtl::SetDesignEditProc(int, int&) { return 0; }
long CBaseCtl::SetFuctionKeyProcess(int, int) { return 0; }
int CBaseCtl::GetFormLinkNameCount(LPCWSTR) { return 0; }
BOOL CBaseCtl::GetIsCommonLinkInfoUse(int) { return 0; }
long CBaseCtl::GetFormScreenVersionInfo() { return 0; }
BOOL CBaseCtl::IsLinkInformation() { return 0; }
long CBaseCtl::SetFormToFormDataSend(LPCWSTR, LPCWSTR, LPCWSTR, long) { return 0; }
long CBaseCtl::GetCommDataFromFormControl(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, CStringArray&) { return 0; }
long CBaseCtl::GetInterestCodePNbySort(CObArray*, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, long) { return 0; }
long CBaseCtl::SetFormSplitSizeProc(CBaseCtl*, int, int, float, float, int, int) { return 0; }
long CBaseCtl::SetAutoTranInfoEx(CObArray*, short, short, int&, int&, LPCWSTR, LPCWSTR, int) { return 0; }
long CBaseCtl::FuncCommRequest(CString, CString, int) { return 0; }
long CBaseCtl::GetCommBinaryInputRecordData(CMapStringToPtr&, int, CString, CString, CString, int&, int&) { return 0; }
long CBaseCtl::GetCommInputRecordData(CMapStringToPtr&, int, CString, CString, CString, CString&) { return 0; }
long CBaseCtl::GetTranInputDataFromFormControl(CString, void*, CString&) { return 0; }
long CBaseCtl::SetForm_MapDlg(HWND, CString, CString, CString&, CString&) { return 0; }
long CBaseCtl::SetForm_MapDlg3(HWND, CString, CString, CString&, CString&, CString&) { return 0; }
char* CBaseCtl::GetBinaryData(long&) { return nullptr; }
IDispatch* CBaseCtl::GetFormDispatch() { return nullptr; }
CWnd* CBaseCtl::GetBaseCtlWnd(CString) { return nullptr; }
_TREEITEM* CBaseCtl::GetTreeItemToFormControl(CString) { return nullptr; }
CString CBaseCtl::GetCommonMultiLangPropertyDataProc(int) { return CString(); }
CString CBaseCtl::GetDgnBusinessPropertyDataProc(int) { return CString(); }
CString CBaseCtl::GetLastData(LPCWSTR, LPCWSTR) { return CString(); }
CString CBaseCtl::GetMultiCommValue(int&, CString&, CString&, CString, int) { return CString(); }
CString CBaseCtl::GetRequestData(CString, CString, CString, long, int, CString) { return CString(); }
