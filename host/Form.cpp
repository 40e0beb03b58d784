#include "Form.h"

#include <algorithm>

// The form's top-level window. It paints the form's background and passes the
// controls' drop-down notices to the form.
class DemoForm::Frame : public CWnd {
public:
  explicit Frame(DemoForm* form) : m_form(form) {}

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      ::GetClientRect(m_hWnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_LISTBOX_SHOW:
      m_form->OnDropDownNotice(wParam, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      // Closing the form ends an interactive session.
      PostQuitMessage(0);
      return 0;
    default:
      return CWnd::WindowProc(msg, wParam, lParam);
    }
  }

private:
  DemoForm* m_form;
};

DemoForm::DemoForm(ControlLibrary& library) : m_library(library) { SetRunMode(TRUE); }

DemoForm::~DemoForm() {
  RemoveAll();
  if (m_frame) {
    m_frame->DestroyWindow();
    delete m_frame;
  }
}

bool DemoForm::Open(const wchar_t* title) {
  Frame* frameWnd = new Frame(this);
  m_frame = frameWnd;
  RECT frame = {0, 0, kFormWidth + kLogWidth, kHeight};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  CRect at(40, 40, 40 + frame.right - frame.left, 40 + frame.bottom - frame.top);
  if (!m_frame->CreateEx(0, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, at, nullptr, 0)) return false;
  m_log.Create(m_frame->m_hWnd, CRect(kFormWidth, 0, kFormWidth + kLogWidth, kHeight));
  ::ShowWindow(m_frame->m_hWnd, SW_SHOW);
  ::UpdateWindow(m_frame->m_hWnd);
  return true;
}

// ---- controls --------------------------------------------------------------------------

HRESULT DemoForm::PutProperty(IDispatch* disp, const std::wstring& name, const std::wstring& value) {
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name.c_str());
  HRESULT hr = disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  // The text goes as it stands; the type library's Invoke converts it to the property's type.
  CVariant v(value.c_str());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {&v, &putId, 1, 1};
  return disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr, nullptr);
}

FormControl* DemoForm::Create(const std::wstring& name, const RECT& rect, const std::wstring& props,
                              const std::vector<BYTE>& stream, std::wstring& error) {
  if (name.empty()) {
    error = L"a control needs a name";
    return nullptr;
  }
  if (name.size() > kMaxNameChars) {
    error = L"a control's name has at most " + std::to_wstring(kMaxNameChars) + L" characters";
    return nullptr;
  }
  if (m_controls.size() >= kMaxControls) {
    error = L"the form holds at most " + std::to_wstring(kMaxControls) + L" controls";
    return nullptr;
  }
  if (Find(name)) {
    error = L"there is already a control named " + name;
    return nullptr;
  }
  auto c = std::make_unique<FormControl>();
  c->Name = name;
  c->Rect = rect;
  c->Ctl = m_library.Alloc();
  if (!c->Ctl || !c->Dispatch()) {
    error = L"the control library made no control";
    if (c->Ctl) c->Ctl->ExternalRelease();
    return nullptr;
  }
  // From here on, failures release what was made.
  auto fail = [&](const std::wstring& why) -> FormControl* {
    error = why;
    if (c->Sink) {
      c->Sink->Disconnect();
      c->Sink.Release();
    }
    if (c->Ctl->m_hWnd) c->Ctl->DestroyWindow();
    c->Ctl->ExternalRelease();
    return nullptr;
  };
  if (IsEqualIID(m_events.Iid, IID_NULL) && FAILED(m_events.ReadFrom(c->Dispatch())))
    return fail(L"the control's type library names no event interface");

  // As on a running form of the runtime: its name and id on the form, run mode, this
  // form as its RunForm, then the stored properties.
  UINT id = m_nextId++;
  c->Ctl->SetCtrlInfo(name.c_str(), c->Ctl->GetControlType(), id);
  c->Ctl->SetRunMode(TRUE);
  c->Ctl->SetRunFormDispatch(this, Window(), 0, 0);
  if (!stream.empty()) {
    std::vector<BYTE> bytes(stream);
    CArchive ar(bytes, CArchive::load);
    try {
      if (!c->Ctl->LoadControl(ar)) return fail(L"the stored properties of " + name + L" were not taken");
    } catch (const CArchiveException& e) {
      return fail(L"the stored properties of " + name + L" do not load (archive error " + std::to_wstring(e.m_cause) +
                  L")");
    } catch (const CMemoryException&) {
      return fail(L"the stored properties of " + name + L" hold a text too long to load");
    }
  }
  // "Name=value;Name=value" before the window exists, as a loaded form's properties.
  size_t pos = 0;
  while (pos < props.size()) {
    size_t end = props.find(L';', pos);
    if (end == std::wstring::npos) end = props.size();
    std::wstring pair = props.substr(pos, end - pos);
    pos = end + 1;
    if (pair.find_first_not_of(L" ") == std::wstring::npos) continue;
    size_t eq = pair.find(L'=');
    if (eq == std::wstring::npos) return fail(L"property setting without '=': " + pair);
    std::wstring key = pair.substr(0, eq), value = pair.substr(eq + 1);
    key.erase(0, key.find_first_not_of(L' '));
    key.erase(key.find_last_not_of(L' ') + 1);
    if (FAILED(PutProperty(c->Dispatch(), key, value))) return fail(L"cannot set " + key + L" to '" + value + L"'");
  }
  FormControl* raw = c.get();
  c->Sink.Attach(new EventSink(m_events, [this, raw](const std::wstring& event) { OnControlEvent(raw, event); }));
  if (FAILED(c->Sink->Connect(c->Dispatch()))) return fail(L"cannot connect to the events of " + name);
  if (!c->Ctl->SetControlSize(rect.right - rect.left, rect.bottom - rect.top))
    return fail(L"the control " + name + L" refuses the size " + std::to_wstring(rect.right - rect.left) + L"x" +
                std::to_wstring(rect.bottom - rect.top));
  if (!c->Ctl->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, Window(), id))
    return fail(L"the window of " + name + L" was not created");
  // The form keeps the place it gave and the size the control took.
  int cx = 0, cy = 0;
  c->Ctl->GetControlSize(&cx, &cy);
  c->Rect.right = c->Rect.left + cx;
  c->Rect.bottom = c->Rect.top + cy;
  m_controls.push_back(std::move(c));
  return raw;
}

FormControl* DemoForm::Find(const std::wstring& name) const {
  for (auto& c : m_controls)
    if (_wcsicmp(c->Name.c_str(), name.c_str()) == 0) return c.get();
  return nullptr;
}

FormControl* DemoForm::FromCtl(CBaseCtl* ctl) const {
  for (auto& c : m_controls)
    if (c->Ctl == ctl) return c.get();
  return nullptr;
}

void DemoForm::Release(std::unique_ptr<FormControl> c) {
  c->Sink->Disconnect();
  c->Sink.Release();
  m_dropDowns.erase(c->Hwnd());
  // A script may still hold the control: its window goes now (once the control is out of
  // the message or call that may have asked for this), the object with the last reference.
  if (c->Ctl->m_hWnd) c->Ctl->DestroyWindowWhenIdle();
  c->Ctl->ExternalRelease();
}

bool DemoForm::Remove(const std::wstring& name) {
  for (auto it = m_controls.begin(); it != m_controls.end(); ++it)
    if (_wcsicmp((*it)->Name.c_str(), name.c_str()) == 0) {
      std::unique_ptr<FormControl> c = std::move(*it);
      m_controls.erase(it);
      Release(std::move(c));
      return true;
    }
  return false;
}

void DemoForm::RemoveAll() {
  // Last first, so that the remaining chain stays whole while one goes.
  while (!m_controls.empty()) {
    std::unique_ptr<FormControl> c = std::move(m_controls.back());
    m_controls.pop_back();
    Release(std::move(c));
  }
  m_dropDowns.clear();
}

// ---- what the user sees ------------------------------------------------------------------

HWND DemoForm::FieldOf(const FormControl& c) {
  // The masked field is the control's EDIT child.
  return c.Hwnd() ? FindWindowExW(c.Hwnd(), nullptr, L"Edit", nullptr) : nullptr;
}

HWND DemoForm::DropDownOf(const FormControl& c) const {
  auto it = m_dropDowns.find(c.Hwnd());
  if (it == m_dropDowns.end() || !::IsWindow(it->second) || !::IsWindowVisible(it->second)) return nullptr;
  return it->second;
}

std::wstring DemoForm::Focused() const {
  HWND focus = GetFocus();
  if (!focus) return L"";
  for (auto& c : m_controls)
    if (FieldOf(*c) == focus) return c->Name;
  return L"";
}

namespace {
struct PopupSearch {
  std::vector<HWND> found;
};
BOOL CALLBACK CollectMonthCalendars(HWND hwnd, LPARAM lParam) {
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (_wcsicmp(cls, L"SysMonthCal32") == 0 && IsWindowVisible(hwnd))
    reinterpret_cast<PopupSearch*>(lParam)->found.push_back(hwnd);
  return TRUE;
}
} // namespace

void DemoForm::OnDropDownNotice(WPARAM shown, HWND control) {
  FormControl* opener = nullptr;
  for (auto& c : m_controls)
    if (c->Hwnd() == control) opener = c.get();
  if (!opener) return;
  if (!shown) {
    m_log.Add(L"form: " + opener->Name + L" closed its drop-down");
    return;
  }
  // The drop-down is a popup of the form's thread: the visible month calendar that no
  // other control owns is the opener's.
  if (!DropDownOf(*opener)) {
    PopupSearch search;
    EnumThreadWindows(GetCurrentThreadId(), CollectMonthCalendars, reinterpret_cast<LPARAM>(&search));
    for (HWND popup : search.found) {
      bool owned = false;
      for (auto& kv : m_dropDowns)
        if (kv.first != control && kv.second == popup) owned = true;
      if (!owned) m_dropDowns[control] = popup;
    }
  }
  std::wstring told;
  for (FormControl* other : OpenDropDownsBesides(control)) {
    ::SendMessageW(other->Hwnd(), WM_LISTBOX_SHOW, shown, reinterpret_cast<LPARAM>(control));
    told += L" " + other->Name;
  }
  m_log.Add(L"form: " + opener->Name + L" opened its drop-down" + (told.empty() ? L"" : L"; closing" + told));
}

std::vector<FormControl*> DemoForm::OpenDropDownsBesides(HWND opener) const {
  // Only open ones: a control told this closes its drop-down and takes the focus.
  std::vector<FormControl*> out;
  for (auto& c : m_controls)
    if (c->Hwnd() != opener && DropDownOf(*c)) out.push_back(c.get());
  return out;
}

// ---- events ----------------------------------------------------------------------------------

void DemoForm::OnControlEvent(FormControl* c, const std::wstring& event) {
  // The handler may replace the form's controls: keep what is needed.
  std::wstring name = c->Name, line = name + L"." + event;
  // Dropped a batch at a time, so that each event costs the same on average.
  if (Fired.size() >= kMaxFired + kMaxFired / 10) Fired.erase(Fired.begin(), Fired.end() - kMaxFired);
  Fired.push_back(line);
  size_t at = m_log.Add(line);
  ++m_eventDepth;
  bool handled = EventHandler && EventHandler(name, event);
  --m_eventDepth;
  if (handled) m_log.Amend(at, line + L"   handled by " + name + L"_" + event);
}

void DemoForm::TakeEvents(bool take) {
  SetBaseCtlBitInfo(FORM_TAKES_EVENTS, TRUE);
  m_takeAnswer = take ? 1 : 0;
}

int DemoForm::OnFormFireEventSend(CBaseCtl* pCtl, long nEvent, long, long, long, CString strValue) {
  FormControl* c = FromCtl(pCtl);
  std::wstring event = m_events.NameOf(nEvent);
  m_log.Add(L"form: offered " + (c ? c->Name : L"?") + L"." + event + L" (" + strValue.str() + L"), " +
            (m_takeAnswer == 1 ? L"took it" : L"declined"));
  return m_takeAnswer;
}

// ---- focus -----------------------------------------------------------------------------------

bool DemoForm::FocusControl(FormControl* c) {
  // The control hands the focus on to its field.
  ::SetFocus(c->Hwnd());
  return true;
}

long DemoForm::SetPreNextFocusToForm(int nMode, CBaseCtl* pCtl, HWND, LPCWSTR lpszName) {
  FormControl* from = FromCtl(pCtl);
  FormControl* to = nullptr;
  const wchar_t* how = L"?";
  if (nMode == FOCUS_NAMED) {
    how = L"named";
    to = Find(lpszName ? lpszName : L"");
  } else if ((nMode == FOCUS_PREVIOUS || nMode == FOCUS_NEXT) && from && !m_controls.empty()) {
    how = nMode == FOCUS_NEXT ? L"next" : L"previous";
    // Creation order, wrapping round; hidden controls are passed over.
    auto it = std::find_if(m_controls.begin(), m_controls.end(), [&](auto& c) { return c.get() == from; });
    size_t n = m_controls.size(), at = static_cast<size_t>(it - m_controls.begin());
    for (size_t step = 1; step < n && !to; ++step) {
      FormControl* c = m_controls[(nMode == FOCUS_NEXT ? at + step : at + n - step) % n].get();
      if (::IsWindowVisible(c->Hwnd())) to = c;
    }
  }
  m_log.Add(L"form: focus " + std::wstring(how) + L" from " + (from ? from->Name : L"?") + L" -> " +
            (to                     ? to->Name
             : nMode == FOCUS_NAMED ? L"no control " + std::wstring(lpszName ? lpszName : L"")
                                    : L"none"));
  return to && FocusControl(to) ? 1 : 0;
}

long DemoForm::SetPropertyLong(int nIndex, int) {
  // May a control move the focus on now?
  return nIndex == FPI_MAY_MOVE_FOCUS ? m_allowFocus : 0;
}

void DemoForm::SetFocusToForm(CBaseCtl* pCtl, HWND) {
  FormControl* c = FromCtl(pCtl);
  m_log.Add(L"form: " + (c ? c->Name : L"?") + L" has the focus");
}

CWnd* DemoForm::GetChildFrameWndToForm() { return m_frame; }
