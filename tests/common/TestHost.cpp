#include "TestHost.h"

namespace testhost {

void Environment::SetUp() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
}

void Environment::TearDown() { OleUninitialize(); }

namespace {
// The form's frame: a plain top-level window of the framework's class.
class FormFrame : public CWnd {};
} // namespace

RecordingForm::RecordingForm() {
  SetRunMode(TRUE);
  FrameWnd = new FormFrame;
  FrameWnd->CreateEx(0, L"form", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, CRect(20, 20, 620, 420), nullptr,
                     0);
}

RecordingForm::~RecordingForm() {
  FrameWnd->DestroyWindow();
  delete FrameWnd;
}

int RecordingForm::OnFormFireEventSend(CBaseCtl*, long nEvent, long, long, long, CString strValue) {
  Calls.push_back(L"OnFormFireEventSend " + std::to_wstring(nEvent) + L" " + strValue.str());
  return FireEventAnswer;
}

long RecordingForm::SetPreNextFocusToForm(int nMode, CBaseCtl* pCtl, HWND, LPCWSTR lpszName) {
  Calls.push_back(L"SetPreNextFocusToForm " + std::to_wstring(nMode) + L" " + (lpszName ? lpszName : L""));
  // Move the focus as a running form does: next and previous wrap around.
  int n = static_cast<int>(Members.size()), at = -1;
  for (int i = 0; i < n; ++i)
    if (Members[i].second == pCtl) at = i;
  CCalendarCtl* target = nullptr;
  if (nMode == 3) {
    for (auto& m : Members)
      if (m.first == (lpszName ? lpszName : L"")) target = m.second;
  } else if (at >= 0 && (nMode == 0 || nMode == 1)) {
    target = Members[(at + (nMode == 1 ? 1 : n - 1)) % n].second;
  }
  if (target) target->MSetFocus();
  return 0;
}

long RecordingForm::SetPropertyLong(int nIndex, int nNewValue) {
  Calls.push_back(L"SetPropertyLong " + std::to_wstring(nIndex) + L" " + std::to_wstring(nNewValue));
  return nIndex == 38 ? AllowFocusAnswer : 0;
}

void RecordingForm::SetFocusToForm(CBaseCtl*, HWND) { Calls.push_back(L"SetFocusToForm"); }

CWnd* RecordingForm::GetChildFrameWndToForm() {
  Calls.push_back(L"GetChildFrameWndToForm");
  return FrameWnd;
}

void RecordingForm::OnFormPropertyChanged(CBaseCtl*, DISPID id) {
  Calls.push_back(L"OnFormPropertyChanged " + std::to_wstring(id));
}

std::vector<std::wstring> RecordingForm::TakeCalls() {
  std::vector<std::wstring> out;
  out.swap(Calls);
  return out;
}

STDMETHODIMP Recorder::QueryInterface(REFIID riid, void** ppv) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyNotifySink)) {
    *ppv = static_cast<IPropertyNotifySink*>(this);
  } else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID_ICalendarCtlEvents)) {
    *ppv = static_cast<IDispatch*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP Recorder::OnChanged(DISPID id) {
  Changes.push_back(id);
  return S_OK;
}

STDMETHODIMP Recorder::GetTypeInfoCount(UINT* n) {
  *n = 0;
  return S_OK;
}

STDMETHODIMP Recorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  Events.push_back(EventName(id));
  if (OnEvent) OnEvent(this, id, params);
  return S_OK;
}

const wchar_t* EventName(DISPID id) {
  static const wchar_t* const names[] = {L"?",         L"EditFull",    L"EditEnter",  L"SetFocus",    L"KillFocus",
                                         L"SelChange", L"SelSelected", L"EditChange", L"ReceiveError"};
  return id >= 1 && id <= 8 ? names[id] : names[0];
}

VARIANT VLong(long v) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_I4;
  x.lVal = v;
  return x;
}

VARIANT VStr(const wchar_t* s) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_BSTR;
  x.bstrVal = SysAllocString(s);
  return x;
}

void Pump() { FxPumpMessages(); }

void ControlFixture::SetUp() {
  Form = new RecordingForm;
  Ctl = AllocRunDllControl();
  ASSERT_NE(Ctl, nullptr);
  Connect();
}

void ControlFixture::Connect() {
  CComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(Ctl->GetPrimaryDispatch()->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)),
            S_OK);
  CComPtr<IConnectionPoint> events, props;
  ASSERT_EQ(cpc->FindConnectionPoint(DIID_ICalendarCtlEvents, &events), S_OK);
  ASSERT_EQ(events->Advise(static_cast<IDispatch*>(&Rec), &EventCookie), S_OK);
  ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &props), S_OK);
  ASSERT_EQ(props->Advise(static_cast<IPropertyNotifySink*>(&Rec), &PropCookie), S_OK);
}

void ControlFixture::Create(bool runMode, int width, int height) {
  Ctl->SetRunMode(runMode);
  if (runMode) Ctl->SetRunFormDispatch(Form, FormWindow(), 0, 0);
  ASSERT_TRUE(Ctl->CreateControl(FormWindow(), CRect(10, 10, 10 + width, 10 + height), 100));
  Pump();
}

void ControlFixture::Recreate(short style, short dateFormat, short timeFormat, short basic, bool runMode) {
  TearDown();
  SetUp();
  Ctl->Style = style;
  Ctl->DateFormat = dateFormat;
  Ctl->TimeFormat = timeFormat;
  Ctl->BasicClient = basic;
  Create(runMode);
}

void ControlFixture::TearDown() {
  if (Ctl) Ctl->ExternalRelease();
  Ctl = nullptr;
  delete Form;
  Form = nullptr;
  Pump();
}

HRESULT ControlFixture::Put(const wchar_t* name, VARIANT value) {
  IDispatch* disp = Ctl->GetPrimaryDispatch();
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  HRESULT hr = disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {&value, &putId, 1, 1};
  hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr, nullptr);
  VariantClear(&value);
  return hr;
}

HRESULT ControlFixture::PutLong(const wchar_t* name, long value) { return Put(name, VLong(value)); }
HRESULT ControlFixture::PutString(const wchar_t* name, const wchar_t* value) { return Put(name, VStr(value)); }

static std::wstring AsText(VARIANT& v) {
  CVariant text;
  if (FAILED(VariantChangeType(&text, &v, 0, VT_BSTR))) return L"<type " + std::to_wstring(v.vt) + L">";
  return text.bstrVal ? text.bstrVal : L"";
}

std::wstring ControlFixture::Get(const wchar_t* name) {
  IDispatch* disp = Ctl->GetPrimaryDispatch();
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  if (FAILED(disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id))) return L"<no such name>";
  DISPPARAMS dp = {nullptr, nullptr, 0, 0};
  CVariant result;
  HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &dp, &result, nullptr, nullptr);
  if (FAILED(hr)) return L"<failed>";
  return AsText(result);
}

HRESULT ControlFixture::Call(const wchar_t* name, std::vector<VARIANT> args, std::wstring* result, EXCEPINFO* excep) {
  IDispatch* disp = Ctl->GetPrimaryDispatch();
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  HRESULT hr = disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS dp = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  CVariant out;
  hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, &out, excep, nullptr);
  for (auto& a : reversed) VariantClear(&a);
  if (SUCCEEDED(hr) && result) *result = out.vt == VT_EMPTY ? L"" : AsText(out);
  return hr;
}

void ControlFixture::TypeChars(const wchar_t* text) {
  for (const wchar_t* p = text; *p; ++p) SendMessageW(Ctl->Edit.m_hWnd, WM_CHAR, *p, 1);
}

void ControlFixture::PressKey(UINT vk) {
  SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, vk, 1);
  SendMessageW(Ctl->Edit.m_hWnd, WM_KEYUP, vk, 0xC0000001);
}

} // namespace testhost
