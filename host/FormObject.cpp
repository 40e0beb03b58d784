#include "FormObject.h"

#include "FormFile.h"

#include <cmath>

// One call's arguments (converted on demand), its result and its error.
class FormObject::Call {
public:
  Call(const wchar_t* member, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep)
      : m_member(member), m_params(params), m_result(result), m_excep(excep) {}
  UINT Count() const { return m_params ? m_params->cArgs : 0; }

  // Argument i (first is 0) as a string, a long or a flag; false when it does not convert.
  // A text with a NUL in it would be cut short by every Win32 call it reaches (a path
  // among them), and a number that is not finite has no integer: both are refused.
  bool String(UINT i, std::wstring& out) {
    CVariant v;
    if (!Convert(i, VT_BSTR, v)) return false;
    out.assign(v.bstrVal ? v.bstrVal : L"", v.bstrVal ? SysStringLen(v.bstrVal) : 0);
    return out.find(L'\0') == std::wstring::npos;
  }
  bool Long(UINT i, long& out) {
    CVariant real, v;
    if (Convert(i, VT_R8, real) && !std::isfinite(real.dblVal)) return false;
    if (!Convert(i, VT_I4, v)) return false;
    out = v.lVal;
    return true;
  }
  bool Flag(UINT i, bool& out) {
    CVariant v;
    if (!Convert(i, VT_BOOL, v)) return false;
    out = v.boolVal != VARIANT_FALSE;
    return true;
  }

  void Return(const std::wstring& s) {
    if (!m_result) return;
    VariantClear(m_result);
    m_result->vt = VT_BSTR;
    m_result->bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  }
  void Return(bool b) {
    if (!m_result) return;
    VariantClear(m_result);
    m_result->vt = VT_BOOL;
    m_result->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  }
  void Return(IDispatch* d) {
    if (!m_result) return;
    VariantClear(m_result);
    m_result->vt = VT_DISPATCH;
    m_result->pdispVal = d;
    if (d) d->AddRef();
  }

  // Fails the call with a message that the script's error report shows.
  HRESULT Fail(const std::wstring& why) {
    if (m_excep) {
      *m_excep = EXCEPINFO{};
      m_excep->bstrSource = SysAllocString(L"form");
      m_excep->bstrDescription = SysAllocString((std::wstring(m_member) + L": " + why).c_str());
      m_excep->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
  }
  HRESULT BadArgument(UINT i, const wchar_t* want) {
    return Fail(L"argument " + std::to_wstring(i + 1) + L" must be " + want);
  }

private:
  bool Convert(UINT i, VARTYPE type, CVariant& out) {
    if (i >= Count()) return false;
    // Arguments come last to first; VBScript passes its variables by reference.
    VARIANT& arg = m_params->rgvarg[Count() - 1 - i];
    CVariant direct;
    if (FAILED(VariantCopyInd(&direct, &arg))) return false;
    return SUCCEEDED(VariantChangeType(&out, &direct, VARIANT_ALPHABOOL, type));
  }

  const wchar_t* m_member;
  DISPPARAMS* m_params;
  VARIANT* m_result;
  EXCEPINFO* m_excep;
};

const FormObject::Entry FormObject::kMembers[] = {
    {L"Create", 5, 6, &FormObject::Create},
    {L"Type", 2, 2, &FormObject::Type},
    {L"Key", 2, 2, &FormObject::Key},
    {L"Click", 2, 2, &FormObject::Click},
    {L"ClickDay", 2, 2, &FormObject::ClickDay},
    {L"ClickOutside", 0, 0, &FormObject::ClickOutside},
    {L"Paste", 2, 2, &FormObject::Paste},
    {L"FieldText", 1, 1, &FormObject::FieldText},
    {L"Selection", 1, 1, &FormObject::Selection},
    {L"Focused", 0, 0, &FormObject::Focused},
    {L"CalendarOpen", 1, 1, &FormObject::CalendarOpen},
    {L"Events", 0, 0, &FormObject::Events},
    {L"ClearEvents", 0, 0, &FormObject::ClearEvents},
    {L"Control", 1, 1, &FormObject::Control},
    {L"TakeEvents", 1, 1, &FormObject::TakeEvents},
    {L"BlockFocus", 1, 1, &FormObject::BlockFocus},
    {L"AllowFocus", 1, 1, &FormObject::AllowFocus},
    {L"PinClock", 1, 1, &FormObject::PinClock},
    {L"Save", 1, 1, &FormObject::Save},
    {L"Load", 1, 1, &FormObject::Load},
    {L"Remove", 1, 1, &FormObject::Remove},
    {L"Echo", 1, 1, &FormObject::Echo},
    {L"Quit", 0, 1, &FormObject::Quit},
    {L"Accessible", 1, 1, &FormObject::Accessible},
};

std::vector<std::wstring> FormObject::MemberNames() {
  std::vector<std::wstring> names;
  for (const Entry& e : kMembers) names.push_back(e.Name);
  return names;
}

// ---- IDispatch ----------------------------------------------------------------------------

STDMETHODIMP FormObject::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *ppv = static_cast<IDispatch*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FormObject::GetTypeInfoCount(UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}

STDMETHODIMP FormObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP FormObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  // Script names are case-insensitive in VBScript; JScript asks with the exact spelling.
  for (DISPID i = 0; i < static_cast<DISPID>(sizeof kMembers / sizeof kMembers[0]); ++i)
    if (_wcsicmp(kMembers[i].Name, names[0]) == 0) ids[0] = i + 1;
  if (ids[0] == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  // Members take no named arguments.
  return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

STDMETHODIMP FormObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excep, UINT*) {
  const int n = static_cast<int>(sizeof kMembers / sizeof kMembers[0]);
  if (id < 1 || id > n) return DISP_E_MEMBERNOTFOUND;
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  const Entry& e = kMembers[id - 1];
  Call call(e.Name, params, result, excep);
  if (params && params->cNamedArgs) return DISP_E_NONAMEDARGS;
  int count = static_cast<int>(call.Count());
  if (count < e.MinArgs || count > e.MaxArgs)
    return call.Fail(L"takes " +
                     (e.MinArgs == e.MaxArgs ? std::to_wstring(e.MinArgs)
                                             : std::to_wstring(e.MinArgs) + L" to " + std::to_wstring(e.MaxArgs)) +
                     L" arguments, not " + std::to_wstring(count));
  if (result) VariantInit(result);
  // A handler that called Quit or failed stops the script at its next form call.
  if (m_script.Stopping()) return call.Fail(L"the script was stopped");
  // No C++ exception may cross into the script engine.
  try {
    return (this->*e.Fn)(call);
  } catch (...) {
    return call.Fail(L"failed unexpectedly");
  }
}

// ---- members ---------------------------------------------------------------------------------

HRESULT FormObject::AfterInput(Call& call, bool done) {
  if (m_script.Stopping()) return call.Fail(L"the script was stopped");
  return done ? S_OK : call.Fail(m_driver.Error);
}

HRESULT FormObject::Create(Call& call) {
  std::wstring name, props;
  long x = 0, y = 0, w = 0, h = 0;
  if (!call.String(0, name)) return call.BadArgument(0, L"a name");
  if (!call.Long(1, x) || !call.Long(2, y) || !call.Long(3, w) || !call.Long(4, h))
    return call.Fail(L"x, y, width and height must be numbers");
  if (call.Count() > 5 && !call.String(5, props)) return call.BadArgument(5, L"a text of properties");
  std::wstring error;
  RECT rect = {x, y, x + w, y + h};
  FormControl* c = m_form.Create(name, rect, props, {}, error);
  if (!c) return call.Fail(error);
  call.Return(c->Dispatch());
  return S_OK;
}

HRESULT FormObject::NameAndText(Call& call, const wchar_t* what,
                                bool (FormDriver::*act)(const std::wstring&, const std::wstring&)) {
  std::wstring name, text;
  if (!call.String(0, name) || !call.String(1, text)) return call.Fail(std::wstring(L"wants a name and ") + what);
  return Input(call, [&] { return (m_driver.*act)(name, text); });
}

HRESULT FormObject::Type(Call& call) { return NameAndText(call, L"a text", &FormDriver::Type); }
HRESULT FormObject::Key(Call& call) { return NameAndText(call, L"a key", &FormDriver::Key); }
HRESULT FormObject::Click(Call& call) { return NameAndText(call, L"a part", &FormDriver::Click); }
HRESULT FormObject::ClickDay(Call& call) { return NameAndText(call, L"a day", &FormDriver::ClickDay); }

HRESULT FormObject::ClickOutside(Call& call) {
  return Input(call, [&] { return m_driver.ClickOutside(); });
}

HRESULT FormObject::Input(Call& call, const std::function<bool()>& act) {
  if (m_inputDepth >= kMaxInputDepth)
    return call.Fail(L"input nested " + std::to_wstring(kMaxInputDepth) +
                     L" deep in event handlers: handlers that give each other input never end");
  ++m_inputDepth;
  bool done = act();
  --m_inputDepth;
  return AfterInput(call, done);
}

// A member that names a control and answers what the driver reads of it.
HRESULT FormObject::NameQuery(Call& call, bool (FormDriver::*query)(const std::wstring&, std::wstring&)) {
  std::wstring name, answer;
  if (!call.String(0, name)) return call.BadArgument(0, L"a name");
  if (!(m_driver.*query)(name, answer)) return call.Fail(m_driver.Error);
  call.Return(answer);
  return S_OK;
}

HRESULT FormObject::Paste(Call& call) { return NameAndText(call, L"a text", &FormDriver::Paste); }

HRESULT FormObject::FieldText(Call& call) { return NameQuery(call, &FormDriver::FieldText); }

HRESULT FormObject::Selection(Call& call) { return NameQuery(call, &FormDriver::Selection); }

HRESULT FormObject::Focused(Call& call) {
  call.Return(m_form.Focused());
  return S_OK;
}

HRESULT FormObject::CalendarOpen(Call& call) {
  std::wstring name;
  bool open = false;
  if (!call.String(0, name)) return call.BadArgument(0, L"a name");
  if (!m_driver.CalendarOpen(name, open)) return call.Fail(m_driver.Error);
  call.Return(open);
  return S_OK;
}

HRESULT FormObject::Accessible(Call& call) { return NameQuery(call, &FormDriver::Accessible); }

HRESULT FormObject::Events(Call& call) {
  std::wstring text;
  for (auto& e : m_form.Fired) text += (text.empty() ? L"" : L"\n") + e;
  call.Return(text);
  return S_OK;
}

HRESULT FormObject::ClearEvents(Call&) {
  m_form.Fired.clear();
  return S_OK;
}

HRESULT FormObject::Control(Call& call) {
  std::wstring name;
  if (!call.String(0, name)) return call.BadArgument(0, L"a name");
  FormControl* c = m_form.Find(name);
  if (!c) return call.Fail(L"no control named '" + name + L"'");
  call.Return(c->Dispatch());
  return S_OK;
}

HRESULT FormObject::SetFormFlag(Call& call, void (DemoForm::*set)(bool)) {
  bool flag = false;
  if (!call.Flag(0, flag)) return call.BadArgument(0, L"true or false");
  (m_form.*set)(flag);
  return S_OK;
}

HRESULT FormObject::TakeEvents(Call& call) { return SetFormFlag(call, &DemoForm::TakeEvents); }
HRESULT FormObject::BlockFocus(Call& call) { return SetFormFlag(call, &DemoForm::BlockFocus); }
HRESULT FormObject::AllowFocus(Call& call) { return SetFormFlag(call, &DemoForm::AllowFocus); }

HRESULT FormObject::PinClock(Call& call) {
  std::wstring instant;
  if (!call.String(0, instant)) return call.BadArgument(0, L"a text YYYYMMDDHHMMSS");
  if (!m_form.Library().CanPinClock())
    return call.Fail(L"this Tamvero.dll exports no TamveroPinClock, so its clock cannot be pinned");
  if (!m_form.Library().PinClock(instant.c_str())) return call.Fail(L"'" + instant + L"' is no instant YYYYMMDDHHMMSS");
  return S_OK;
}

HRESULT FormObject::Save(Call& call) {
  std::wstring path, error;
  if (!call.String(0, path)) return call.BadArgument(0, L"a path");
  if (!SaveFormFile(m_form, path, error)) return call.Fail(error);
  return S_OK;
}

HRESULT FormObject::Load(Call& call) {
  std::wstring path, error;
  if (!call.String(0, path)) return call.BadArgument(0, L"a path");
  if (!LoadFormFile(m_form, path, error)) return call.Fail(error);
  return S_OK;
}

HRESULT FormObject::Remove(Call& call) {
  std::wstring name;
  if (!call.String(0, name)) return call.BadArgument(0, L"a name");
  if (!m_form.Remove(name)) return call.Fail(L"no control named '" + name + L"'");
  return S_OK;
}

HRESULT FormObject::Echo(Call& call) {
  std::wstring text;
  if (!call.String(0, text)) return call.BadArgument(0, L"a text");
  m_script.Print(text);
  return S_OK;
}

HRESULT FormObject::Quit(Call& call) {
  long code = 0;
  if (call.Count() > 0 && !call.Long(0, code)) return call.BadArgument(0, L"a number");
  m_script.Quit(static_cast<int>(code));
  // Unwinds the script; the host reports no error for it.
  return call.Fail(L"quit");
}
