#include "fxauto.h"

#include <new>
#include <vector>

CTypeLibCache::~CTypeLibCache() { Clear(); }

void CTypeLibCache::Clear() {
  AcquireSRWLockExclusive(&m_lock);
  m_libs.clear();
  ReleaseSRWLockExclusive(&m_lock);
}

HRESULT CTypeLibCache::GetTypeLib(HMODULE module, ITypeLib** out) {
  *out = nullptr;
  AcquireSRWLockExclusive(&m_lock);
  HRESULT hr = S_OK;
  auto it = m_libs.find(module);
  if (it == m_libs.end()) {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    CComPtr<ITypeLib> lib;
    hr = n ? LoadTypeLib(path, &lib) : HRESULT_FROM_WIN32(GetLastError());
    if (SUCCEEDED(hr)) it = m_libs.emplace(module, lib).first;
  }
  if (SUCCEEDED(hr)) {
    *out = it->second;
    (*out)->AddRef();
  }
  ReleaseSRWLockExclusive(&m_lock);
  return hr;
}

HRESULT CTypeLibCache::GetTypeInfo(HMODULE module, REFIID iid, ITypeInfo** out) {
  *out = nullptr;
  CComPtr<ITypeLib> lib;
  HRESULT hr = GetTypeLib(module, &lib);
  if (FAILED(hr)) return hr;
  return lib->GetTypeInfoOfGuid(iid, out);
}

HRESULT FxGetInterfaceTypeInfo(ITypeInfo* dispatchInfo, ITypeInfo** out) {
  *out = nullptr;
  TYPEATTR* attr = nullptr;
  HRESULT hr = dispatchInfo->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  TYPEKIND kind = attr->typekind;
  WORD flags = attr->wTypeFlags;
  dispatchInfo->ReleaseTypeAttr(attr);
  if (kind == TKIND_INTERFACE) {
    dispatchInfo->AddRef();
    *out = dispatchInfo;
    return S_OK;
  }
  if (kind != TKIND_DISPATCH || !(flags & TYPEFLAG_FDUAL)) return E_NOINTERFACE;
  HREFTYPE ref = 0;
  hr = dispatchInfo->GetRefTypeOfImplType(-1, &ref);
  if (FAILED(hr)) return hr;
  return dispatchInfo->GetRefTypeInfo(ref, out);
}

CConnectionPoint::~CConnectionPoint() { UnadviseAll(); }

void CConnectionPoint::UnadviseAll() {
  // Released after the table is empty: a sink going away may call back.
  std::map<DWORD, CComPtr<IUnknown>> sinks;
  sinks.swap(m_sinks);
}

STDMETHODIMP CConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CConnectionPoint::GetConnectionInterface(IID* piid) {
  if (!piid) return E_POINTER;
  *piid = m_iid;
  return S_OK;
}

STDMETHODIMP CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
  if (!ppCPC) return E_POINTER;
  *ppCPC = m_container;
  m_container->AddRef();
  return S_OK;
}

STDMETHODIMP CConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  CComPtr<IUnknown> typed;
  if (FAILED(sink->QueryInterface(m_iid, reinterpret_cast<void**>(&typed))) &&
      (!m_acceptDispatch || FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&typed)))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = m_nextCookie++;
  m_sinks[*cookie] = typed;
  return S_OK;
}

STDMETHODIMP CConnectionPoint::Unadvise(DWORD cookie) {
  auto it = m_sinks.find(cookie);
  if (it == m_sinks.end()) return CONNECT_E_NOCONNECTION;
  // Released after the entry is gone: the sink going away may call back.
  CComPtr<IUnknown> sink;
  sink.Attach(it->second.Detach());
  m_sinks.erase(it);
  return S_OK;
}

STDMETHODIMP CConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
  std::vector<CONNECTDATA> data;
  for (auto& kv : m_sinks) data.push_back({kv.second, kv.first});
  return FxCreateEnumConnections(data.data(), static_cast<ULONG>(data.size()), ppEnum);
}

namespace {

// What the two enumerators keep of an element: an owned reference.
inline void HoldItem(IConnectionPoint* p) {
  if (p) p->AddRef();
}
inline void DropItem(IConnectionPoint* p) {
  if (p) p->Release();
}
inline void HoldItem(CONNECTDATA& c) {
  if (c.pUnk) c.pUnk->AddRef();
}
inline void DropItem(CONNECTDATA& c) {
  if (c.pUnk) c.pUnk->Release();
}

template <class IEnum, class Item> class CFxEnum : public IEnum {
public:
  CFxEnum(const Item* items, ULONG count) : m_items(items, items + count) {
    for (auto& item : m_items) HoldItem(item);
  }
  virtual ~CFxEnum() {
    for (auto& item : m_items) DropItem(item);
  }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(IEnum))) {
      *ppv = static_cast<IEnum*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_ref)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG n = InterlockedDecrement(&m_ref);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && m_pos < m_items.size(); ++n, ++m_pos) {
      out[n] = m_items[m_pos];
      HoldItem(out[n]);
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    size_t left = m_items.size() - m_pos;
    m_pos += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    m_pos = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnum** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    auto* copy = new (std::nothrow) CFxEnum(m_items.data(), static_cast<ULONG>(m_items.size()));
    *ppEnum = copy;
    if (!copy) return E_OUTOFMEMORY;
    copy->m_pos = m_pos;
    return S_OK;
  }

private:
  LONG m_ref = 1;
  std::vector<Item> m_items;
  size_t m_pos = 0;
};

template <class IEnum, class Item> HRESULT CreateEnum(const Item* items, ULONG count, IEnum** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) CFxEnum<IEnum, Item>(items, count);
  return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace

HRESULT FxCreateEnumConnectionPoints(IConnectionPoint* const* points, ULONG count, IEnumConnectionPoints** out) {
  return CreateEnum<IEnumConnectionPoints, IConnectionPoint*>(points, count, out);
}

HRESULT FxCreateEnumConnections(const CONNECTDATA* connections, ULONG count, IEnumConnections** out) {
  return CreateEnum<IEnumConnections, CONNECTDATA>(connections, count, out);
}
