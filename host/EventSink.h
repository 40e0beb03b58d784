// The demo's side of a control's event connection point: an IDispatch that names each
// incoming event from the control's own type information and hands it to the form.
#pragma once

#include "fxauto.h"

#include <functional>
#include <map>
#include <string>

// The outgoing interface of a control class, read from its type library: the coclass's
// default source interface, with the name of every event.
struct EventInterface {
  IID Iid = IID_NULL;
  std::map<DISPID, std::wstring> Names;
  // Fills this from the type information of a control's primary dispatch interface.
  HRESULT ReadFrom(IDispatch* control);
  std::wstring NameOf(DISPID id) const;
};

class EventSink : public IDispatch {
public:
  using Handler = std::function<void(const std::wstring& eventName)>;
  EventSink(const EventInterface& events, Handler onEvent);

  HRESULT Connect(IDispatch* control);
  void Disconnect();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_ref)); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* n) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

private:
  virtual ~EventSink() = default;
  LONG m_ref = 1;
  const EventInterface& m_events;
  Handler m_onEvent;
  CComPtr<IConnectionPoint> m_point;
  DWORD m_cookie = 0;
};
