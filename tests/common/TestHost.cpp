#include "TestHost.h"

#include "Lumadex.h"
#include "Tondril.h"
#include "fxhandle.h"

namespace testhost {

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
  Calls.Add(L"OnFormFireEventSend " + std::to_wstring(nEvent) + L" " + strValue.str());
  return FireEventAnswer;
}

long RecordingForm::SetPreNextFocusToForm(int nMode, CBaseCtl*, HWND, LPCWSTR lpszName) {
  Calls.Add(L"SetPreNextFocusToForm " + std::to_wstring(nMode) + L" " + (lpszName ? lpszName : L""));
  return 0;
}

long RecordingForm::SetPropertyLong(int nIndex, int nNewValue) {
  Calls.Add(L"SetPropertyLong " + std::to_wstring(nIndex) + L" " + std::to_wstring(nNewValue));
  return nIndex == 38 ? AllowFocusAnswer : 0;
}

void RecordingForm::SetFocusToForm(CBaseCtl*, HWND) { Calls.Add(L"SetFocusToForm"); }

CWnd* RecordingForm::GetChildFrameWndToForm() {
  Calls.Add(L"GetChildFrameWndToForm");
  return FrameWnd;
}

void RecordingForm::OnFormPropertyChanged(CBaseCtl*, DISPID id) { Calls.Add(seq::Change, std::to_wstring(id)); }

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
  Changes.Add(std::to_wstring(id));
  return S_OK;
}

STDMETHODIMP Recorder::GetTypeInfoCount(UINT* n) {
  *n = 0;
  return S_OK;
}

STDMETHODIMP Recorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  Events.Add(EventName(id));
  if (OnEvent) OnEvent(this, id, params);
  return S_OK;
}

const wchar_t* EventName(DISPID id) {
  static const wchar_t* const names[] = {L"?",         L"EditFull",    L"EditEnter",  L"SetFocus",    L"KillFocus",
                                         L"SelChange", L"SelSelected", L"EditChange", L"ReceiveError"};
  return id >= 1 && id <= 8 ? names[id] : names[0];
}

VARIANT VLong(long v) {
  VARIANT x = {};
  x.vt = VT_I4, x.lVal = v;
  return x;
}

VARIANT VStr(const wchar_t* s) {
  VARIANT x = {};
  x.vt = VT_BSTR, x.bstrVal = SysAllocString(s);
  return x;
}

void Pump() { FxPumpMessages(); }

void ControlFixture::SetUp() {
  Form = new RecordingForm;
  Ctl = AllocRunDllControl();
  ASSERT_NE(Ctl, nullptr);
  Connect();
}

CComPtr<IConnectionPoint> ControlFixture::Point(REFIID iid) {
  CComPtr<IConnectionPointContainer> cpc;
  CComPtr<IConnectionPoint> cp;
  if (SUCCEEDED(
          Ctl->GetPrimaryDispatch()->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc))))
    cpc->FindConnectionPoint(iid, &cp);
  return cp;
}

void ControlFixture::Connect() {
  CComPtr<IConnectionPoint> events = Point(DIID_ICalendarCtlEvents), props = Point(IID_IPropertyNotifySink);
  ASSERT_TRUE(events && props);
  ASSERT_EQ(events->Advise(static_cast<IDispatch*>(&Rec), &EventCookie), S_OK);
  ASSERT_EQ(props->Advise(static_cast<IPropertyNotifySink*>(&Rec), &PropCookie), S_OK);
}

void ControlFixture::Create(bool runMode, int width, int height) {
  Ctl->SetRunMode(runMode);
  if (runMode) Ctl->SetRunFormDispatch(Form, FormWindow(), 0, 0);
  ASSERT_TRUE(
      Ctl->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + width, 10 + height), FormWindow(), 100));
  Pump();
}

void ControlFixture::Recreate(short style, short dateFormat, short timeFormat, short basic, bool runMode) {
  Renew();
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

HRESULT PutProp(IDispatch* disp, const wchar_t* name, VARIANT value) {
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  HRESULT hr = disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {&value, &putId, 1, 1};
  if (SUCCEEDED(hr))
    hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr, nullptr);
  VariantClear(&value);
  return hr;
}

static std::wstring AsText(VARIANT& v) {
  CVariant text;
  if (FAILED(VariantChangeType(&text, &v, 0, VT_BSTR))) return L"<type " + std::to_wstring(v.vt) + L">";
  return text.bstrVal ? text.bstrVal : L"";
}

std::wstring GetProp(IDispatch* disp, const wchar_t* name) {
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  if (FAILED(disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id))) return L"<no such name>";
  DISPPARAMS dp = {nullptr, nullptr, 0, 0};
  CVariant result;
  HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &dp, &result, nullptr, nullptr);
  if (FAILED(hr)) return L"<failed>";
  return AsText(result);
}

HRESULT CallMethod(IDispatch* disp, const wchar_t* name, std::vector<VARIANT> args, std::wstring* result,
                   EXCEPINFO* excep) {
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  HRESULT hr = disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  CVariant out;
  if (SUCCEEDED(hr)) {
    DISPPARAMS dp = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, &out, excep, nullptr);
  }
  for (auto& a : reversed) VariantClear(&a);
  if (SUCCEEDED(hr) && result) *result = out.vt == VT_EMPTY ? L"" : AsText(out);
  return hr;
}

HRESULT ControlFixture::Put(const wchar_t* name, VARIANT value) {
  return PutProp(Ctl->GetPrimaryDispatch(), name, value);
}
HRESULT ControlFixture::PutLong(const wchar_t* name, long value) { return Put(name, VLong(value)); }
HRESULT ControlFixture::PutString(const wchar_t* name, const wchar_t* value) { return Put(name, VStr(value)); }
std::wstring ControlFixture::Get(const wchar_t* name) { return GetProp(Ctl->GetPrimaryDispatch(), name); }
HRESULT ControlFixture::Call(const wchar_t* name, std::vector<VARIANT> args, std::wstring* result, EXCEPINFO* excep) {
  return CallMethod(Ctl->GetPrimaryDispatch(), name, std::move(args), result, excep);
}

void ControlFixture::TypeChars(const wchar_t* text) {
  for (const wchar_t* p = text; *p; ++p) SendChar(*p);
}

void ControlFixture::SendChar(WCHAR ch, UINT scan) { SendMessageW(Ctl->Edit.m_hWnd, WM_CHAR, ch, KeyFlags(scan)); }

void ControlFixture::SendKey(UINT vk) {
  const LPARAM flags = KeyFlags(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, vk, flags);
  SendMessageW(Ctl->Edit.m_hWnd, WM_KEYUP, vk, flags | static_cast<LPARAM>(0xC0000000UL));
}

void ControlFixture::Fresh() {
  if (Ctl) Ctl->ExternalRelease();
  Ctl = AllocRunDllControl();
  ASSERT_NE(Ctl, nullptr);
  Connect();
}

std::wstring TextOf(const CCalendarEdit& edit) { return edit.GetWindowText().str(); }

MaskRecords RecordsOf(const CCalendarEdit& edit) {
  MaskRecords r;
  for (int i = 0; i < edit.RecordCount(); ++i) {
    r.types.push_back(edit.RecordAt(i)->Type);
    r.chars += edit.RecordAt(i)->Char;
  }
  return r;
}

std::pair<int, int> SelOf(const CCalendarEdit& edit) {
  int s = -1, e = -1;
  edit.GetSel(s, e);
  return {s, e};
}

static bool OpenClipboardRetrying(HWND owner) {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

bool PutClipboardText(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  CGlobalHandle mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!mem || !OpenClipboardRetrying(owner)) return false;
  memcpy(GlobalLock(mem.Get()), text.c_str(), bytes);
  GlobalUnlock(mem.Get());
  EmptyClipboard();
  const bool ok = SetClipboardData(CF_UNICODETEXT, mem.Get()) != nullptr;
  if (ok) mem.Detach(); // the clipboard's now
  CloseClipboard();
  return ok;
}

std::wstring ClipboardText(HWND owner) {
  if (!OpenClipboardRetrying(owner)) return L"<clipboard busy>";
  HANDLE mem = GetClipboardData(CF_UNICODETEXT);
  std::wstring out = mem ? static_cast<const wchar_t*>(GlobalLock(mem)) : L"";
  if (mem) GlobalUnlock(mem);
  CloseClipboard();
  return out;
}

namespace {
std::wstring Hex(UINT v) {
  wchar_t buf[16];
  swprintf(buf, 16, L"%04X", v);
  return buf;
}
} // namespace

void ControlMessageLog::Attach(HWND control, HWND edit) {
  m_control = control;
  m_edit = edit;
  SetWindowSubclass(control, &Proc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void ControlMessageLog::Detach() {
  if (!m_control) return;
  if (IsWindow(m_control)) RemoveWindowSubclass(m_control, &Proc, 0);
  m_control = nullptr;
}

LRESULT CALLBACK ControlMessageLog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  ControlMessageLog* self = reinterpret_cast<ControlMessageLog*>(data);
  switch (msg) {
  case WM_COMMAND:
    if (reinterpret_cast<HWND>(lParam) == self->m_edit) {
      const WORD code = HIWORD(wParam);
      self->Entries.Add(code == EN_UPDATE      ? L"EN_UPDATE"
                        : code == EN_CHANGE    ? L"EN_CHANGE"
                        : code == EN_SETFOCUS  ? L"EN_SETFOCUS"
                        : code == EN_KILLFOCUS ? L"EN_KILLFOCUS"
                                               : L"EN_" + Hex(code));
    }
    break;
  case WM_CALENDAR_EVENT:
    self->Entries.Add(L"0465 " + std::to_wstring(static_cast<int>(wParam)));
    break;
  case WM_CALENDAR_CAPTION:
    self->Entries.Add(L"0466 " + std::wstring(reinterpret_cast<const wchar_t*>(wParam)));
    return 1;
  case WM_CALENDAR_SHOW:
  case WM_CALENDAR_HIDE:
    self->Entries.Add(Hex(msg));
    return 0;
  case WM_PREV_NEXT_DATE:
    self->Entries.Add(L"2728 " + std::to_wstring(static_cast<long long>(wParam)) + L" " +
                      std::to_wstring(static_cast<long long>(lParam)));
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void EditControlFixture::TearDown() {
  Log.Detach();
  ControlFixture::TearDown();
}

void EditControlFixture::CreateWithMask(const wchar_t* mask, int fullLength) {
  Create();
  ASSERT_NE(Ctl->Edit.m_hWnd, nullptr);
  Log.Attach(Ctl->m_hWnd, Ctl->Edit.m_hWnd);
  Ctl->Edit.SetMask(mask);
  Ctl->Edit.FullLength = fullLength;
  ClearRecords();
}

void EditControlFixture::ShowValue(const wchar_t* text) {
  SetWindowTextW(Ctl->Edit.m_hWnd, text);
  ClearRecords();
}

void EditControlFixture::ClearRecords() {
  Log.Entries.clear();
  Rec.Events.clear();
  Form->Calls.clear();
  Ctl->Edit.InvalidInputCount = 0;
}

seq::Log EditControlFixture::TakeControlCodes() {
  seq::Log out(seq::Message);
  for (auto& e : Log.Entries.Take())
    if (e.compare(0, 3, L"EN_") != 0 && e.compare(0, 4, L"0466") != 0) out.Add(e);
  return out;
}

namespace {
std::vector<std::wstring> g_drawLog;
void RecordDrawCall(const wchar_t* line) { g_drawLog.push_back(line); }
} // namespace

void RenderFixture::SetUp() {
  // The pointer rests away from every control, so that only the test's own moves count.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
  ControlFixture::SetUp();
  TondrilSetDrawLog(&RecordDrawCall);
}

void RenderFixture::TearDown() {
  TondrilSetDrawLog(nullptr);
  TondrilSetImageMissing(1370, FALSE);
  TondrilSetImageMissing(2205, FALSE);
  CColorMgr::getInstance()->SetColorTheme(1);
  JTLink_SetLoginInfo(L"CONN_MED", L"");
  ControlFixture::TearDown();
}

std::vector<std::wstring> RenderFixture::PaintOnce() {
  UpdateWindow(Ctl->m_hWnd);
  g_drawLog.clear();
  RedrawWindow(Ctl->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::vector<std::wstring> out;
  out.swap(g_drawLog);
  return out;
}

std::wstring RectText(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

CRect EditRectInControl(CCalendarCtl* ctl) {
  RECT r = {};
  GetWindowRect(ctl->Edit.m_hWnd, &r);
  MapWindowPoints(nullptr, ctl->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  return CRect(r);
}

} // namespace testhost
