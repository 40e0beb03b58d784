// The script's "form": an IDispatch whose members create controls, drive them with real
// input, read what the user sees and what the controls fired, set the form's answers,
// pin the clock, and save and load the form.
#pragma once

#include "FormDriver.h"
#include "ScriptHost.h"

#include <functional>
#include <vector>

class FormObject : public IDispatch {
public:
  FormObject(DemoForm& form, ScriptHost& script) : m_form(form), m_driver(form), m_script(script) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  // Owned by the runner, which outlives the script engine.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                      UINT* argErr) override;

  // The member names, in dispatch-id order from 1.
  static std::vector<std::wstring> MemberNames();

private:
  class Call;
  using Member = HRESULT (FormObject::*)(Call& call);
  struct Entry {
    const wchar_t* Name;
    int MinArgs;
    int MaxArgs;
    Member Fn;
  };
  static const Entry kMembers[];

  HRESULT Create(Call& call);
  HRESULT Type(Call& call);
  HRESULT Key(Call& call);
  HRESULT Click(Call& call);
  HRESULT ClickDay(Call& call);
  HRESULT ClickOutside(Call& call);
  HRESULT Paste(Call& call);
  HRESULT FieldText(Call& call);
  HRESULT Selection(Call& call);
  HRESULT Focused(Call& call);
  HRESULT CalendarOpen(Call& call);
  HRESULT Accessible(Call& call);
  HRESULT Events(Call& call);
  HRESULT ClearEvents(Call& call);
  HRESULT Control(Call& call);
  // The three form answers a script sets with one flag.
  HRESULT SetFormFlag(Call& call, void (DemoForm::*set)(bool));
  // The reading members: a control's name, then what the driver reads of it.
  HRESULT NameQuery(Call& call, bool (FormDriver::*query)(const std::wstring&, std::wstring&));
  // The input members: a control's name, a text, then real input and its settling.
  HRESULT NameAndText(Call& call, const wchar_t* what,
                      bool (FormDriver::*act)(const std::wstring&, const std::wstring&));
  HRESULT TakeEvents(Call& call);
  HRESULT BlockFocus(Call& call);
  HRESULT AllowFocus(Call& call);
  HRESULT PinClock(Call& call);
  HRESULT Save(Call& call);
  HRESULT Load(Call& call);
  HRESULT Remove(Call& call);
  HRESULT Echo(Call& call);
  HRESULT Quit(Call& call);

  // An action with real input ran: a handler's error or Quit stops the script here.
  HRESULT AfterInput(Call& call, bool done);
  // Input given from an event handler runs inside the input that fired it; handlers
  // that answer each other's input would nest without end.
  static constexpr int kMaxInputDepth = 16;
  int m_inputDepth = 0;
  // Runs one input action within that bound, then AfterInput.
  HRESULT Input(Call& call, const std::function<bool()>& act);

  DemoForm& m_form;
  FormDriver m_driver;
  ScriptHost& m_script;
};
