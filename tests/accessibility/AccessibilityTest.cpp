// The control read as a screen reader reads it: the object oleacc hands out for the
// control's window and its field, its role, name, value, state and children, the
// default actions, and the win events a reader follows.
#include "TestHost.h"

#include <oleacc.h>

#include "fxhandle.h"

#include <functional>
#include <map>
#include <regex>
#include <tuple>

using namespace testhost;

namespace {

std::wstring StateText(long bits) {
  static const std::pair<long, const wchar_t*> names[] = {
      {STATE_SYSTEM_FOCUSABLE, L"focusable"},     {STATE_SYSTEM_FOCUSED, L"focused"},
      {STATE_SYSTEM_UNAVAILABLE, L"unavailable"}, {STATE_SYSTEM_READONLY, L"readonly"},
      {STATE_SYSTEM_INVISIBLE, L"invisible"},     {STATE_SYSTEM_EXPANDED, L"expanded"},
      {STATE_SYSTEM_COLLAPSED, L"collapsed"},     {STATE_SYSTEM_PRESSED, L"pressed"}};
  std::wstring out;
  for (const auto& n : names)
    if (bits & n.first) out += (out.empty() ? L"" : L" ") + std::wstring(n.second);
  return out;
}

// "role|name|value|state" of one element, as a reader would collect it; for the control,
// then each child after the field as " name:action".
std::wstring Describe(IAccessible* acc, long id) {
  CVariant role, state;
  CBstr name, value;
  long count = 0;
  if (FAILED(acc->get_accRole(VLong(id), &role)) || FAILED(acc->get_accState(VLong(id), &state)) ||
      FAILED(acc->get_accName(VLong(id), &name)) || FAILED(acc->get_accValue(VLong(id), &value)) ||
      FAILED(acc->get_accChildCount(&count)))
    return L"failed";
  static const std::map<long, std::wstring> roles = {
      {ROLE_SYSTEM_TEXT, L"text"}, {ROLE_SYSTEM_COMBOBOX, L"combobox"}, {ROLE_SYSTEM_SPINBUTTON, L"spinbutton"}};
  std::wstring out = (roles.count(role.lVal) ? roles.at(role.lVal) : L"?") + L"|" + name.c_str() + L"|" +
                     value.c_str() + L"|" + StateText(state.lVal) + L"|";
  for (long child = 2; id == CHILDID_SELF && child <= count; ++child) {
    CBstr button, action;
    acc->get_accName(VLong(child), &button);
    acc->get_accDefaultAction(VLong(child), &action);
    out += L" " + std::wstring(button.c_str()) + L":" + action.c_str();
  }
  return out;
}

CComPtr<IAccessible> FromWindow(HWND hwnd) {
  CComPtr<IAccessible> acc;
  // mingw's import library turns IID_IAccessible into a code stub: the header's uuid.
  AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                             reinterpret_cast<void**>(&acc));
  return acc;
}

// The win events of one window, recorded in firing order by an in-context hook.
struct WinEvents {
  static inline HWND Watched = nullptr;
  static inline seq::Log* Log = nullptr;
  static void CALLBACK Proc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd != Watched || object != OBJID_CLIENT || !Log) return;
    CComPtr<IAccessible> acc = FromWindow(hwnd);
    // What the reader reads back while the event fires.
    if (event == EVENT_OBJECT_FOCUS) {
      CBstr name;
      if (acc && child != CHILDID_SELF) acc->get_accName(VLong(child), &name);
      Log->Add(L"focus " + std::wstring(child == CHILDID_SELF ? L"control" : name.c_str()));
    } else if (event == EVENT_OBJECT_VALUECHANGE) {
      CBstr value;
      if (acc) acc->get_accValue(VLong(child), &value);
      Log->Add(std::wstring(child == CHILDID_SELF ? L"value " : L"drop-down value ") + value.c_str());
    } else if (event == EVENT_OBJECT_STATECHANGE && child == CHILDID_SELF) {
      CVariant state;
      if (acc) acc->get_accState(VLong(CHILDID_SELF), &state);
      Log->Add(L"state " + StateText(state.lVal & (STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED)));
    }
  }
};

} // namespace

class Accessibility : public ControlFixture {};

TEST_F(Accessibility, EveryStyleReadsItsRoleNameValueAndState) {
  PinnedClock clock(L"20240315093000");
  enum Situation { Empty, Partial, Full, Disabled, Hidden };
  struct Case {
    short style, timeFormat;
    const wchar_t* label; // a static before the control; null: a button there instead
    Situation situation;
    const wchar_t* input; // typed for Partial, set by the host otherwise
    const wchar_t* self;  // role|name|value|state| name:action of each button
  };
  const std::vector<Case> cases = {
      {0, 0, L"&Birth date:", Empty, L"", L"combobox|Birth date:||focusable collapsed| Calendar:Open"},
      {0, 0, L"&Birth date:", Partial, L"20240",
       L"combobox|Birth date:|2024/0|focusable focused collapsed| Calendar:Open"},
      {0, 0, L"&Birth date:", Disabled, L"20240315",
       L"combobox|Birth date:|2024/03/15|unavailable readonly collapsed| Calendar:Open"},
      // The state rules are the same for every style; each style shows its role, buttons and
      // value. The open drop-down is the reader's steps'.
      {1, 3, L"Start", Full, L"0930", L"text|Start|09:30|focusable|"},
      {2, 0, L"A&&B", Full, L"20240315", L"spinbutton|A&B|2024/03/15|focusable| Up:Next Down:Previous"},
      {3, 0, nullptr, Hidden, L"20240315", L"text|Due|2024/03/15|focusable invisible|"},
      {5, 3, L"", Full, L"2630", L"text|Due|26:30|focusable|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - &cases[0]);
    Renew();
    HWND before = CreateWindowExW(0, c.label ? L"STATIC" : L"BUTTON", c.label ? c.label : L"OK", WS_CHILD | WS_VISIBLE,
                                  10, 0, 100, 10, FormWindow(), nullptr, nullptr, nullptr);
    ASSERT_NE(before, nullptr);
    Ctl->Style = c.style;
    Ctl->TimeFormat = c.timeFormat;
    Ctl->BasicClient = 4; // starts blank
    Ctl->Item = L"Due";
    Create();
    if (c.situation == Partial) {
      Ctl->Edit.SetFocus();
      TypeChars(c.input);
    } else if (*c.input) {
      ASSERT_EQ(PutString(L"Caption", c.input), S_OK);
    }
    if (c.situation == Disabled || c.situation == Hidden) {
      ASSERT_EQ(PutLong(c.situation == Disabled ? L"Enabled" : L"Visible", 0), S_OK);
    }
    Pump();

    CComPtr<IAccessible> acc = FromWindow(Ctl->m_hWnd), field = FromWindow(Ctl->Edit.m_hWnd);
    ASSERT_TRUE(acc && field);
    EXPECT_EQ(Describe(acc, CHILDID_SELF), c.self);
    // The field reads as the control, role aside; the EDIT's own object is not handed out.
    const std::wstring self = c.self, fieldSelf = L"text" + self.substr(self.find(L'|'));
    EXPECT_EQ(Describe(field, 1), std::regex_replace(fieldSelf, std::wregex(L" collapsed|[^|]*$"), L""));
  }
}

TEST_F(Accessibility, ReadersHearEachChangeOnceAndDriveTheButtons) {
  PinnedClock clock(L"20240315093000");
  seq::Log log;
  Ctl->BasicClient = 4;
  Create();
  // A second control on the same form, a spin date showing today.
  CCalendarCtl* other = AllocRunDllControl();
  other->Style = 2;
  other->SetRunMode(true);
  other->SetRunFormDispatch(Form, FormWindow(), 0, 0);
  ASSERT_TRUE(other->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 40, 150, 62), FormWindow(), 101));
  CComPtr<IAccessible> acc = FromWindow(Ctl->m_hWnd), spin = FromWindow(other->m_hWnd);
  ASSERT_TRUE(acc && spin);
  // What the drop-down sends when a day is clicked (MCN_SELECT) or browsed to (MCN_SELCHANGE).
  auto PickDay = [&](WORD day, UINT code) {
    ASSERT_TRUE(Ctl->GetCalendarWndPtr());
    NMSELCHANGE n = {};
    n.nmhdr.hwndFrom = Ctl->GetCalendarWndPtr()->m_hWnd;
    n.nmhdr.code = code;
    n.stSelStart = n.stSelEnd = {2024, 3, 0, day, 0, 0, 0, 0};
    SendMessageW(Ctl->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
  };
  WinEvents::Watched = Ctl->m_hWnd;
  WinEvents::Log = &log;
  CWinEventHookHandle hook(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, GetModuleHandleW(nullptr),
                                           WinEvents::Proc, GetCurrentProcessId(), GetCurrentThreadId(),
                                           WINEVENT_INCONTEXT));
  ASSERT_TRUE(hook);
  Ctl->Edit.SetFocus();
  // What the reader hears at each step.
  const std::vector<std::tuple<const char*, std::function<void()>, seq::Entries>> steps = {
      {"typing", [&] { TypeChars(L"2024"); }, {L"value 2", L"value 20", L"value 202", L"value 2024"}},
      {"typing on",
       [&] { TypeChars(L"0315"); },
       {L"value 2024/0", L"value 2024/03", L"value 2024/03/1", L"value 2024/03/15"}},
      {"open by the arrow's action",
       [&] { EXPECT_EQ(acc->accDoDefaultAction(VLong(2)), S_OK); },
       {L"state expanded", L"focus Month calendar"}},
      {"close by the control's action",
       [&] { EXPECT_EQ(acc->accDoDefaultAction(VLong(CHILDID_SELF)), S_OK); },
       {L"state collapsed", L"focus control"}},
      {"open again; the drop-down itself has no action",
       [&] {
         EXPECT_EQ(acc->accDoDefaultAction(VLong(2)), S_OK);
         EXPECT_EQ(acc->accDoDefaultAction(VLong(3)), DISP_E_MEMBERNOTFOUND);
       },
       {L"state expanded", L"focus Month calendar"}},
      {"browsing in the drop-down",
       [&] { PickDay(18, MCN_SELCHANGE); },
       {L"value 2024/03/18", L"drop-down value 2024/03/18"}},
      {"a picked day", [&] { PickDay(20, MCN_SELECT); }, {L"state collapsed", L"focus control", L"value 2024/03/20"}},
      {"the host sets a value", [&] { PutString(L"Caption", L"20241231"); }, {L"value 2024/12/31"}},
      {"the same value again is no change", [&] { PutString(L"Caption", L"20241231"); }, {}},
      {"Up steps", [&] { SendKey(VK_UP); }, {L"value 2025/01/01"}},
      {"a spin field's Previous",
       [&] {
         WinEvents::Watched = other->m_hWnd;
         EXPECT_EQ(spin->accDoDefaultAction(VLong(3)), S_OK);
       },
       {L"value 2024/03/14"}},
      {"and its Next", [&] { EXPECT_EQ(spin->accDoDefaultAction(VLong(2)), S_OK); }, {L"value 2024/03/15"}},
      {"the field's action is none", [&] { EXPECT_EQ(spin->accDoDefaultAction(VLong(1)), DISP_E_MEMBERNOTFOUND); }, {}},
  };
  for (const auto& [what, act, heard] : steps) {
    SCOPED_TRACE(what);
    act();
    Pump();
    EXPECT_TRUE(seq::Flush(log, heard));
  }
  hook.Reset();
  WinEvents::Log = nullptr;
  spin.Release();
  other->ExternalRelease();
}
