#include "EventSink.h"

namespace {

// The source interface marked default among the coclass's implemented types.
HRESULT DefaultSource(ITypeInfo* coclass, ITypeInfo** out) {
  TYPEATTR* attr = nullptr;
  HRESULT hr = coclass->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  WORD count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
    if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
      continue;
    HREFTYPE ref = 0;
    if (FAILED(coclass->GetRefTypeOfImplType(i, &ref))) continue;
    return coclass->GetRefTypeInfo(ref, out);
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

// True when the coclass implements the interface iid.
bool Implements(ITypeInfo* coclass, REFIID iid) {
  TYPEATTR* attr = nullptr;
  if (FAILED(coclass->GetTypeAttr(&attr))) return false;
  WORD count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    HREFTYPE ref = 0;
    CComPtr<ITypeInfo> impl;
    TYPEATTR* implAttr = nullptr;
    if (FAILED(coclass->GetRefTypeOfImplType(i, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, &impl)) ||
        FAILED(impl->GetTypeAttr(&implAttr)))
      continue;
    bool same = IsEqualIID(implAttr->guid, iid) != 0;
    impl->ReleaseTypeAttr(implAttr);
    if (same) return true;
  }
  return false;
}

} // namespace

HRESULT EventInterface::ReadFrom(IDispatch* control) {
  CComPtr<ITypeInfo> dispatchInfo;
  HRESULT hr = control->GetTypeInfo(0, LOCALE_USER_DEFAULT, &dispatchInfo);
  if (FAILED(hr)) return hr;
  if (!dispatchInfo) return E_NOINTERFACE;
  TYPEATTR* attr = nullptr;
  hr = dispatchInfo->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  IID dispatchIid = attr->guid;
  dispatchInfo->ReleaseTypeAttr(attr);

  CComPtr<ITypeLib> lib;
  UINT index = 0;
  hr = dispatchInfo->GetContainingTypeLib(&lib, &index);
  if (FAILED(hr)) return hr;
  for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
    TYPEKIND kind;
    CComPtr<ITypeInfo> coclass, source;
    if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS || FAILED(lib->GetTypeInfo(i, &coclass)))
      continue;
    if (!Implements(coclass, dispatchIid) || FAILED(DefaultSource(coclass, &source))) continue;
    TYPEATTR* sourceAttr = nullptr;
    hr = source->GetTypeAttr(&sourceAttr);
    if (FAILED(hr)) return hr;
    Iid = sourceAttr->guid;
    for (UINT f = 0; f < sourceAttr->cFuncs; ++f) {
      FUNCDESC* func = nullptr;
      if (FAILED(source->GetFuncDesc(f, &func))) continue;
      CBstr name;
      UINT got = 0;
      if (SUCCEEDED(source->GetNames(func->memid, &name, 1, &got)) && got == 1) Names[func->memid] = name.c_str();
      source->ReleaseFuncDesc(func);
    }
    source->ReleaseTypeAttr(sourceAttr);
    return S_OK;
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

std::wstring EventInterface::NameOf(DISPID id) const {
  auto it = Names.find(id);
  return it != Names.end() ? it->second : L"Event" + std::to_wstring(id);
}

EventSink::EventSink(const EventInterface& events, Handler onEvent) : m_events(events), m_onEvent(std::move(onEvent)) {}

HRESULT EventSink::Connect(IDispatch* control) {
  CComPtr<IConnectionPointContainer> container;
  HRESULT hr = control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(hr)) return hr;
  hr = container->FindConnectionPoint(m_events.Iid, &m_point);
  if (FAILED(hr)) return hr;
  return m_point->Advise(static_cast<IDispatch*>(this), &m_cookie);
}

void EventSink::Disconnect() {
  if (m_point && m_cookie) m_point->Unadvise(m_cookie);
  m_cookie = 0;
  m_point.Release();
}

STDMETHODIMP EventSink::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, m_events.Iid)) {
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSink::Release() {
  LONG n = InterlockedDecrement(&m_ref);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  // Keep this sink alive while the form and a script handler run inside the event.
  AddRef();
  HRESULT hr = S_OK;
  try {
    if (m_onEvent) m_onEvent(m_events.NameOf(id));
  } catch (...) {
    hr = E_UNEXPECTED; // nothing C++ may unwind into the control that fires
  }
  Release();
  return hr;
}
