// Automation owners and plumbing: BSTR and VARIANT owners, a COM pointer, the type
// library cache, and one connection point per outgoing interface.
#pragma once

#include "fx.h"

#include <map>
#include <utility>

class FX_API CBstr {
public:
  CBstr() = default;
  explicit CBstr(const wchar_t* s) : m_str(s ? SysAllocString(s) : nullptr) {}
  ~CBstr() { SysFreeString(m_str); }
  CBstr(const CBstr&) = delete;
  CBstr& operator=(const CBstr&) = delete;
  CBstr(CBstr&& o) noexcept : m_str(std::exchange(o.m_str, nullptr)) {}
  BSTR* operator&() {
    SysFreeString(m_str);
    m_str = nullptr;
    return &m_str;
  }
  operator BSTR() const { return m_str; }
  const wchar_t* c_str() const { return m_str ? m_str : L""; }
  BSTR Detach() { return std::exchange(m_str, nullptr); }
  void Attach(BSTR s) {
    SysFreeString(m_str);
    m_str = s;
  }

private:
  BSTR m_str = nullptr;
};

class FX_API CVariant : public VARIANT {
public:
  CVariant() { VariantInit(this); }
  explicit CVariant(long v) {
    VariantInit(this);
    vt = VT_I4;
    lVal = v;
  }
  explicit CVariant(const wchar_t* s) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(s ? s : L"");
  }
  ~CVariant() { VariantClear(this); }
  CVariant(const CVariant&) = delete;
  CVariant& operator=(const CVariant&) = delete;
};

// An exception description filled by a callee; its strings are freed once, with it.
class CExcepInfo : public EXCEPINFO {
public:
  CExcepInfo() : EXCEPINFO{} {}
  ~CExcepInfo() {
    SysFreeString(bstrSource);
    SysFreeString(bstrDescription);
    SysFreeString(bstrHelpFile);
  }
  CExcepInfo(const CExcepInfo&) = delete;
  CExcepInfo& operator=(const CExcepInfo&) = delete;
};

template <class T> class CComPtr {
public:
  CComPtr() = default;
  CComPtr(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ~CComPtr() { Release(); }
  CComPtr(const CComPtr& o) : CComPtr(o.m_p) {}
  CComPtr& operator=(const CComPtr& o) {
    if (o.m_p) o.m_p->AddRef();
    Release();
    m_p = o.m_p;
    return *this;
  }
  void Release() {
    if (m_p) std::exchange(m_p, nullptr)->Release();
  }
  T** operator&() {
    Release();
    return &m_p;
  }
  T* operator->() const { return m_p; }
  operator T*() const { return m_p; }
  T* Detach() { return std::exchange(m_p, nullptr); }
  // Takes over a reference the caller already holds.
  void Attach(T* p) {
    Release();
    m_p = p;
  }

private:
  T* m_p = nullptr;
};

// Type libraries loaded from module files, by library identifier; one load per process.
class FX_API CTypeLibCache {
public:
  CTypeLibCache() = default;
  ~CTypeLibCache();
  CTypeLibCache(const CTypeLibCache&) = delete;
  CTypeLibCache& operator=(const CTypeLibCache&) = delete;
  // The type information of iid from the library carried by module (resource "TYPELIB" 1).
  HRESULT GetTypeInfo(HMODULE module, REFIID iid, ITypeInfo** out);
  HRESULT GetTypeLib(HMODULE module, ITypeLib** out);
  // Releases every library; the owning module calls it when it is unloaded.
  void Clear();

private:
  SRWLOCK m_lock = SRWLOCK_INIT;
  std::map<HMODULE, CComPtr<ITypeLib>> m_libs;
};

// The vtable side of a dual interface: its TKIND_INTERFACE type information, which
// ITypeInfo::Invoke needs, from the dispatch type information that a library hands out.
FX_API HRESULT FxGetInterfaceTypeInfo(ITypeInfo* dispatchInfo, ITypeInfo** out);

// Enumerators over a snapshot: each holds its own references to what it lists.
FX_API HRESULT FxCreateEnumConnectionPoints(IConnectionPoint* const* points, ULONG count, IEnumConnectionPoints** out);
FX_API HRESULT FxCreateEnumConnections(const CONNECTDATA* connections, ULONG count, IEnumConnections** out);

// One outgoing interface and its sinks. The container owns it and lends it its
// reference count.
class FX_API CConnectionPoint : public IConnectionPoint {
public:
  // A dispinterface's sinks answer IDispatch; acceptDispatch lets those connect.
  CConnectionPoint(IConnectionPointContainer* container, REFIID iid, bool acceptDispatch)
      : m_container(container), m_iid(iid), m_acceptDispatch(acceptDispatch) {}
  ~CConnectionPoint();
  CConnectionPoint(const CConnectionPoint&) = delete;
  CConnectionPoint& operator=(const CConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_container->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_container->Release(); }
  STDMETHODIMP GetConnectionInterface(IID* piid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** ppEnum) override;

  void SetIid(REFIID iid) { m_iid = iid; }
  // Snapshot of the sinks, each queried for the outgoing interface and add-ref'ed;
  // a sink may unadvise while it is being called.
  template <class Fn> void ForEachSink(Fn fn) {
    const std::map<DWORD, CComPtr<IUnknown>> copy = m_sinks;
    for (auto& kv : copy) fn(kv.second);
  }
  void UnadviseAll();
  int SinkCount() const { return static_cast<int>(m_sinks.size()); }

private:
  IConnectionPointContainer* m_container;
  IID m_iid;
  bool m_acceptDispatch;
  DWORD m_nextCookie = 1;
  std::map<DWORD, CComPtr<IUnknown>> m_sinks;
};
