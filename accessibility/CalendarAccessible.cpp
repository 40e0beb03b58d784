// The control's IAccessible. The EDIT under the field would tell a reader "    /  /  "
// and nothing about the button, so the control answers for itself and its field: one
// object with simple children (the field, then the arrow or the two spin halves).
#include "CalendarAccessible.h"
#include "CalendarCtl.h"
#include "Formats.h"

#include <new>
#include <string>

namespace tamvero {
namespace {

// The open drop-down is a child of its own while it is open, after the arrow: a reader's
// focus goes there when it opens and back to the control when it closes.
enum ChildId : long { kSelf = CHILDID_SELF, kField = 1, kFirstButton = 2, kSecondButton = 3, kDropDown = 3 };

long ChildCount(const CCalendarCtl& ctl) {
  if (HasDropDownButton(ctl.Style)) return ctl.CalendarVisible ? 3 : 2;
  if (HasSpinButton(ctl.Style)) return 3;
  return 1;
}

bool ChildOf(const CCalendarCtl& ctl, const VARIANT& child, long& id) {
  if (child.vt != VT_I4) return false;
  id = child.lVal;
  return id >= kSelf && id <= ChildCount(ctl);
}

// The control's, its field's or its open drop-down's: the popup takes the keyboard when
// it is shown or clicked.
BOOL HasFocus(const CCalendarCtl& ctl) {
  HWND focus = ::GetFocus();
  CWnd* drop = ctl.CalendarVisible ? ctl.GetCalendarWndPtr() : nullptr;
  return focus && (focus == ctl.m_hWnd || focus == ctl.Edit.m_hWnd || (drop && focus == drop->m_hWnd));
}

// The button's part of the control's client area: the arrow whole, the spin in halves
// split as the pointer code splits them.
CRect ButtonPart(const CCalendarCtl& ctl, long id) {
  CRect part = ctl.ButtonRect;
  if (!HasSpinButton(ctl.Style)) return part;
  int middle = part.bottom - (part.bottom - part.top) / 2;
  if (id == kFirstButton)
    part.bottom = middle;
  else
    part.top = middle;
  return part;
}

BSTR Alloc(const CString& text) { return SysAllocStringLen(text.GetString(), static_cast<UINT>(text.GetLength())); }

HRESULT Answer(BSTR* out, const wchar_t* text) {
  *out = text && *text ? SysAllocString(text) : nullptr;
  if (text && *text && !*out) return E_OUTOFMEMORY;
  return *out ? S_OK : S_FALSE;
}

bool IsDropDown(const CCalendarCtl& ctl, long id) { return id == kDropDown && HasDropDownButton(ctl.Style); }

const wchar_t* DefaultAction(const CCalendarCtl& ctl, long id) {
  if (HasDropDownButton(ctl.Style) && (id == kSelf || id == kFirstButton))
    return ctl.CalendarVisible ? L"Close" : L"Open";
  if (HasSpinButton(ctl.Style) && id == kFirstButton) return L"Next";
  if (HasSpinButton(ctl.Style) && id == kSecondButton) return L"Previous";
  return nullptr;
}

class CCalendarAccessible final : public IAccessible {
public:
  explicit CCalendarAccessible(CCalendarCtl* ctl) : m_ctl(ctl) {}
  virtual ~CCalendarAccessible() = default;
  void Disconnect() { m_ctl = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
      *ppv = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_ref); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG ref = InterlockedDecrement(&m_ref);
    if (ref == 0) delete this;
    return static_cast<ULONG>(ref);
  }

  // IDispatch: readers use the vtable.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(m_ctl->m_hWnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    *count = ChildCount(*m_ctl);
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    // Every child is a simple element answered by this object.
    return NoneFor(child);
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    long id = 0;
    HRESULT hr = Check(child, name, id);
    if (hr != S_OK) return hr;
    if (id == kSelf || id == kField) return Answer(name, AccessibleName(*m_ctl));
    if (IsDropDown(*m_ctl, id)) return Answer(name, L"Month calendar");
    if (HasDropDownButton(m_ctl->Style)) return Answer(name, L"Calendar");
    return Answer(name, id == kFirstButton ? L"Up" : L"Down");
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
    long id = 0;
    HRESULT hr = Check(child, value, id);
    if (hr != S_OK) return hr;
    if (id > kField && !IsDropDown(*m_ctl, id)) return S_FALSE;
    // The drop-down shows its day in the field as the user browses: the same value.
    // An empty field has an empty value, not no value: the reader says "blank" itself.
    *value = Alloc(AccessibleValue(*m_ctl));
    return *value ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override { return Nothing(child, out); }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override { return Nothing(child, out); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    return NoneFor(child);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    long id = 0;
    HRESULT hr = Check(child, out, id);
    if (hr != S_OK) return hr;
    // F4 opens and closes the drop-down from the field.
    return Answer(out, HasDropDownButton(m_ctl->Style) && id <= kFirstButton ? L"F4" : nullptr);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!ChildOf(*m_ctl, child, id)) return E_INVALIDARG;
    role->vt = VT_I4;
    if (id == kField)
      role->lVal = ROLE_SYSTEM_TEXT;
    else if (IsDropDown(*m_ctl, id))
      // The days to pick from, as a combo box's dropped part is a list to readers.
      role->lVal = ROLE_SYSTEM_LIST;
    else if (id != kSelf)
      role->lVal = ROLE_SYSTEM_PUSHBUTTON;
    else if (HasDropDownButton(m_ctl->Style))
      // A field that drops a list-like picker down is what readers know as a combo box:
      // they announce it as one that can be opened and read its expanded state.
      role->lVal = ROLE_SYSTEM_COMBOBOX;
    else if (HasSpinButton(m_ctl->Style))
      // A field stepped one unit at a time by up and down: a spin box to readers, who
      // then tell the user Up and Down change it.
      role->lVal = ROLE_SYSTEM_SPINBUTTON;
    else
      role->lVal = ROLE_SYSTEM_TEXT;
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!ChildOf(*m_ctl, child, id)) return E_INVALIDARG;
    const CCalendarCtl& ctl = *m_ctl;
    const BOOL enabled = ::IsWindowEnabled(ctl.m_hWnd) && ctl.Enabled;
    long bits = 0;
    if (!::IsWindowVisible(ctl.m_hWnd)) bits |= STATE_SYSTEM_INVISIBLE;
    // A disabled field takes no typing: unavailable and read-only alike.
    if (!enabled) bits |= STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_READONLY;
    if (id <= kField || IsDropDown(ctl, id)) {
      if (enabled) bits |= STATE_SYSTEM_FOCUSABLE;
      // The field keeps the keyboard while the drop-down is open; the reader's focus is in
      // the drop-down.
      if (HasFocus(ctl) && (IsDropDown(ctl, id) || !ctl.CalendarVisible || !HasDropDownButton(ctl.Style)))
        bits |= STATE_SYSTEM_FOCUSED;
      if (id == kSelf && HasDropDownButton(ctl.Style))
        bits |= ctl.CalendarVisible ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    } else {
      BOOL pressed =
          HasSpinButton(ctl.Style) ? (id == kFirstButton ? ctl.SpinUpPressed : ctl.SpinDownPressed) : ctl.ButtonPressed;
      if (pressed) bits |= STATE_SYSTEM_PRESSED;
    }
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
  }
  STDMETHODIMP get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!HasFocus(*m_ctl)) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = m_ctl->CalendarVisible && HasDropDownButton(m_ctl->Style) ? kDropDown : kSelf;
    return S_OK;
  }
  STDMETHODIMP get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return Alive() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    long id = 0;
    HRESULT hr = Check(child, action, id);
    if (hr != S_OK) return hr;
    return Answer(action, DefaultAction(*m_ctl, id));
  }
  STDMETHODIMP accSelect(long flags, VARIANT child) override {
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!ChildOf(*m_ctl, child, id)) return E_INVALIDARG;
    if (flags != SELFLAG_TAKEFOCUS || id > kField) return DISP_E_MEMBERNOTFOUND;
    if (!m_ctl->Enabled || !::IsWindowVisible(m_ctl->m_hWnd)) return E_FAIL;
    m_ctl->Edit.SetFocus();
    return S_OK;
  }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!ChildOf(*m_ctl, child, id)) return E_INVALIDARG;
    CRect rect;
    if (id == kSelf) {
      rect = m_ctl->GetWindowRect();
    } else if (id == kField) {
      rect = m_ctl->Edit.GetWindowRect();
    } else if (IsDropDown(*m_ctl, id)) {
      if (CWnd* drop = m_ctl->GetCalendarWndPtr()) rect = drop->GetWindowRect();
    } else {
      rect = ButtonPart(*m_ctl, id);
      ::MapWindowPoints(m_ctl->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    *left = rect.left;
    *top = rect.top;
    *width = rect.Width();
    *height = rect.Height();
    return S_OK;
  }
  STDMETHODIMP accNavigate(long dir, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!ChildOf(*m_ctl, start, id)) return E_INVALIDARG;
    long to = 0, count = ChildCount(*m_ctl);
    if (id == kSelf && dir == NAVDIR_FIRSTCHILD)
      to = kField;
    else if (id == kSelf && dir == NAVDIR_LASTCHILD)
      to = count;
    else if (id != kSelf && (dir == NAVDIR_NEXT || dir == NAVDIR_RIGHT))
      to = id < count ? id + 1 : 0;
    else if (id != kSelf && (dir == NAVDIR_PREVIOUS || dir == NAVDIR_LEFT))
      to = id - 1;
    if (to == 0) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = to;
    return S_OK;
  }
  STDMETHODIMP accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    POINT point = {x, y};
    ::ScreenToClient(m_ctl->m_hWnd, &point);
    if (!m_ctl->GetClientRect().PtInRect(point)) return S_FALSE;
    hit->vt = VT_I4;
    hit->lVal = kSelf;
    for (long id = kFirstButton; id <= ChildCount(*m_ctl); ++id)
      if (!IsDropDown(*m_ctl, id) && ButtonPart(*m_ctl, id).PtInRect(point)) hit->lVal = id;
    if (hit->lVal == kSelf) {
      CRect field = m_ctl->Edit.GetWindowRect();
      POINT screen = {x, y};
      if (field.PtInRect(screen)) hit->lVal = kField;
    }
    return S_OK;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (!ChildOf(*m_ctl, child, id)) return E_INVALIDARG;
    if (!DefaultAction(*m_ctl, id)) return DISP_E_MEMBERNOTFOUND;
    if (!m_ctl->Enabled || !::IsWindowEnabled(m_ctl->m_hWnd) || !::IsWindowVisible(m_ctl->m_hWnd)) return E_FAIL;
    // What a click on the button does, wherever it was last painted: the form moves the
    // focus here, then the drop-down opens or closes, or the value steps once.
    CCalendarCtl& ctl = *m_ctl;
    HWND hwnd = ctl.m_hWnd;
    if (ctl.Visible && ctl.RunForm) ctl.RunForm->SetFocusToForm(&ctl, hwnd);
    if (!::IsWindow(hwnd)) return S_OK;
    if (HasDropDownButton(ctl.Style))
      ::SendMessageW(hwnd, ctl.CalendarVisible ? WM_CALENDAR_HIDE : WM_CALENDAR_SHOW, 0, 0);
    else
      ::SendMessageW(hwnd, WM_PREV_NEXT_DATE, 0, id == kFirstButton ? 1 : 0);
    return S_OK;
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

private:
  bool Alive() const { return m_ctl && m_ctl->m_hWnd; }
  // The common start of the text getters: out cleared, the object alive, the child known.
  HRESULT Check(const VARIANT& child, BSTR* out, long& id) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    return ChildOf(*m_ctl, child, id) ? S_OK : E_INVALIDARG;
  }
  // No answer for a known child: S_FALSE, else why not.
  HRESULT NoneFor(const VARIANT& child) {
    long id = 0;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    return ChildOf(*m_ctl, child, id) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT Nothing(const VARIANT& child, BSTR* out) {
    long id = 0;
    HRESULT hr = Check(child, out, id);
    return hr == S_OK ? S_FALSE : hr;
  }

  CCalendarCtl* m_ctl;
  LONG m_ref = 1;
};

} // namespace

CString AccessibleValue(const CCalendarCtl& ctl) {
  const CCalendarEdit& edit = ctl.Edit;
  if (!edit.m_hWnd) return CString();
  if (edit.RecordCount() == 0) {
    CString text = edit.GetWindowText();
    text.Trim();
    return text;
  }
  // Up to the last typed position, without the blank ones between; a field with no blank
  // after it keeps its closing literal ("15일"). One walk of the records: every message to
  // the control asks this.
  std::wstring heard;
  heard.reserve(static_cast<size_t>(edit.RecordCount()));
  size_t kept = 0;         // what is heard up to the last typed position
  bool typed = false;      // any position typed at all
  bool blankAfter = false; // a blank entry position after the last typed one
  for (POSITION pos = edit.MaskList.GetHeadPosition(); pos;) {
    const CMaskData* rec = edit.MaskList.GetNext(pos);
    const bool entry = rec->IsEntry(), blank = entry && rec->Char == edit.PromptChar;
    if (!blank) heard += rec->Char;
    if (!entry) continue;
    if (!blank) {
      kept = heard.size();
      typed = true;
    }
    blankAfter = blank;
  }
  if (typed && !blankAfter) kept = heard.size();
  return CString(heard.c_str(), static_cast<int>(kept));
}

CString AccessibleName(const CCalendarCtl& ctl) {
  HWND before = ctl.m_hWnd ? ::GetWindow(ctl.m_hWnd, GW_HWNDPREV) : nullptr;
  wchar_t className[16] = {};
  if (before && ::GetClassNameW(before, className, 16) && _wcsicmp(className, L"Static") == 0) {
    int length = ::GetWindowTextLengthW(before);
    CString raw;
    if (length > 0) {
      std::wstring text(static_cast<size_t>(length) + 1, L'\0');
      length = ::GetWindowTextW(before, &text[0], length + 1);
      raw = CString(text.c_str(), length);
    }
    // "&Date" shows an underlined D; the reader says "Date". "&&" is an ampersand.
    CString name;
    const bool prefixes = !(::GetWindowLongW(before, GWL_STYLE) & SS_NOPREFIX);
    for (int i = 0; i < raw.GetLength(); ++i) {
      if (prefixes && raw[i] == L'&' && i + 1 < raw.GetLength()) ++i;
      name += raw[i];
    }
    name.Trim();
    if (!name.IsEmpty()) return name;
  }
  return ctl.Item;
}

LRESULT AnswerGetObject(CCalendarCtl& ctl, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
  if (!ctl.Accessible) ctl.Accessible = new (std::nothrow) CCalendarAccessible(&ctl);
  if (!ctl.Accessible) return 0;
  return LresultFromObject(__uuidof(IAccessible), wParam, ctl.Accessible);
}

void DisconnectAccessible(CCalendarCtl& ctl) {
  if (!ctl.Accessible) return;
  static_cast<CCalendarAccessible*>(ctl.Accessible)->Disconnect();
  ctl.Accessible->Release();
  ctl.Accessible = nullptr;
}

void AnnounceExpanded(CCalendarCtl& ctl, BOOL expanded) {
  const bool changed = !ctl.CalendarVisible != !expanded;
  ctl.CalendarVisible = expanded;
  if (!changed || !ctl.m_hWnd || !HasDropDownButton(ctl.Style)) return;
  const HWND hwnd = ctl.m_hWnd;
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
  // Into the open month calendar and back, for a reader that follows the focus.
  if (CWnd::FromHandlePermanent(hwnd) == &ctl && HasFocus(ctl))
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, ctl.CalendarVisible ? kDropDown : kSelf);
}

ValueWatch::ValueWatch(CCalendarCtl* ctl) : m_ctl(ctl), m_hwnd(ctl ? ctl->m_hWnd : nullptr) {
  if (m_hwnd) ++m_ctl->AccessibleDepth;
}

ValueWatch::~ValueWatch() {
  // A handler that destroyed the control took the object with its window.
  if (!m_hwnd || CWnd::FromHandlePermanent(m_hwnd) != m_ctl) return;
  if (m_ctl->AccessibleDepth > 1) {
    --m_ctl->AccessibleDepth;
    return;
  }
  // Still counted as inside while reading the value and announcing it: reading a field
  // without a mask sends it WM_GETTEXT, and an in-process reader may call back, and
  // neither may start another announcement.
  CString value = AccessibleValue(*m_ctl);
  if (value != m_ctl->AnnouncedValue) {
    m_ctl->AnnouncedValue = value;
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
    // A reader in the open drop-down hears the day it browses to there.
    if (CWnd::FromHandlePermanent(m_hwnd) == m_ctl && m_ctl->CalendarVisible && HasDropDownButton(m_ctl->Style))
      NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, kDropDown);
  }
  if (CWnd::FromHandlePermanent(m_hwnd) == m_ctl) --m_ctl->AccessibleDepth;
}

} // namespace tamvero
