#include "TestHost.h"

#include "CalendarWnd.h"
#include "Lumadex.h"
#include "RealInput.h"
#include "Tondril.h"

#include <functional>

using namespace testhost;

namespace {

// 0x065E notifications that reach the form's frame: wParam and lParam.
std::vector<std::pair<WPARAM, LPARAM>> g_told;

LRESULT CALLBACK RecordingFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (msg == WM_LISTBOX_SHOW) g_told.emplace_back(wParam, lParam);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

SYSTEMTIME Day(WORD y, WORD m, WORD d) { return {y, m, 0, d, 0, 0, 0, 0}; }

// Waits, pumping, until done() holds or about two seconds passed.
template <class F> bool PumpUntil(F done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    Pump();
    Sleep(10);
  }
  return done();
}

} // namespace

class DropDown : public ControlFixture {
protected:
  void SetUp() override {
    ControlFixture::SetUp();
    g_told.clear();
    ASSERT_TRUE(SetWindowSubclass(FormWindow(), RecordingFrameProc, 0, 0)); // gone with the form
  }
  void TearDown() override {
    JTLink_SetMainWindowSize(0, 0);
    ControlFixture::TearDown();
    EXPECT_EQ(FindCalendarHookRecord(), nullptr) << "a watcher outlived its control";
  }
  HWND Drop() const { return Ctl->GetCalendarWndPtr() ? Ctl->GetCalendarWndPtr()->m_hWnd : nullptr; }
  LRESULT Open() { return SendMessageW(Ctl->m_hWnd, WM_CALENDAR_SHOW, 0, 0); }
  LRESULT Close() { return SendMessageW(Ctl->m_hWnd, WM_CALENDAR_HIDE, 0, 0); }
  // Sends the control the notification its drop-down sends on a selection.
  std::function<LRESULT()> Sel(UINT code, WORD month, WORD day) {
    return [=] {
      NMSELCHANGE n = {{Drop(), 0, code}, Day(2024, month, day), Day(2024, month, day)};
      return SendMessageW(Ctl->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    };
  }
  LRESULT Notice(LPARAM from = 0) { return SendMessageW(Ctl->m_hWnd, WM_LISTBOX_SHOW, 1, from); }
  // "open": shown, with the module's record and both watchers on it; "closed": none of that;
  // otherwise the parts there are.
  std::wstring State() {
    const CalendarHookRecord* rec = FindCalendarHookRecord();
    std::wstring s = Ctl->IsCalendarVisible() ? L" visible" : L"";
    if (Drop() && IsWindowVisible(Drop())) s += L" shown";
    if (GetOpenCalendarCtl() || GetOpenCalendarWnd())
      s += GetOpenCalendarCtl() == Ctl && GetOpenCalendarWnd() == Ctl->GetCalendarWndPtr() ? L" marked"
                                                                                           : L" marked-other";
    if (rec)
      s += rec->KeyboardHook && rec->MouseHook && rec->CtlHwnd == Ctl->m_hWnd && rec->CalendarHwnd == Drop()
               ? L" watched"
               : L" watched-other";
    return s == L" visible shown marked watched" ? L"open" : s.empty() ? L"closed" : s.substr(1);
  }
  // What a step left, in one line: its answer, the state, the frame's notes ("?" from another
  // control), the events and form calls (but the frame lookup every note makes) since the
  // last step, "browsed" while a browse waits to count as a pick, "field" while the field
  // has the focus, and the value.
  std::wstring After(LRESULT answer) {
    std::wstring s = std::to_wstring(answer) + L" " + State();
    for (const auto& n : std::exchange(g_told, {}))
      s += L" told" + std::to_wstring(n.first) + (n.second == reinterpret_cast<LPARAM>(Ctl->m_hWnd) ? L"" : L"?");
    for (const auto& e : Rec.Events.Take()) s += L" " + e;
    for (const auto& c : Form->Calls.Only(seq::Call).Texts())
      if (c != L"GetChildFrameWndToForm") s += L" " + c;
    Form->Calls.clear();
    if (Ctl->CalendarSelChanged) s += L" browsed";
    if (GetFocus() == Ctl->Edit.m_hWnd) s += L" field";
    return Ctl->Caption.IsEmpty() ? s : s + L" " + Ctl->Caption.GetString();
  }
};

// Date styles drop down on request even without an arrow and tell the form; the form's notice closes it, a pick reports
// and closes it, and browsing counts as one pick once it closes; time styles answer 0 and create nothing.
TEST_F(DropDown, OpensClosesAndReportsInOrder) {
  PinnedClock clock(L"20240315120000");
  HWND first = nullptr;
  CCalendarCtl* other = nullptr;
  int y = 1, m = 2, d = 3;
  auto make = [&](bool runMode, int style) {
    PutLong(L"Style", style);
    Create(runMode, 140, 22);
    Ctl->MSetFocus(); // the clerk is in the field
    return static_cast<LRESULT>(Ctl->GetCalendarWndPtr() != nullptr);
  };
  auto selected = [&] {
    return Ctl->GetCurSelectedDate(y, m, d) ? y * 10000 + m * 100 + d : -(y * 10000 + m * 100 + d);
  };
  auto open = [&] { return Open(); };
  auto close = [&] { return Close(); };
  const std::vector<std::vector<std::pair<std::function<LRESULT()>, const wchar_t*>>> scenarios = {
      {{[&] { return make(true, 3); }, L"0 closed SetFocus SetFocusToForm field 20240315"}, // created on first use
       {selected, L"-20240315 closed field 20240315"},                                      // no calendar: today
       {open, L"1 open told1 20240315"},
       {open, L"1 open told1 20240315"},
       {close, L"1 closed told0 SetFocusToForm field 20240315"},
       // The form's notice while closed tells it again and gives the field the focus.
       {[&] { return SetFocus(FormWindow()), Notice(); },
        L"0 closed told0 KillFocus SetFocus SetFocusToForm field 20240315"},
       {[&] { return first = Drop(), Open() == 1 && Drop() == first; }, L"1 open told1 20240315"}, // the same window
       {Sel(MCN_SELCHANGE, 3, 5), L"0 open SelChange browsed 20240305"},
       {Sel(MCN_SELCHANGE, 3, 5), L"0 open browsed 20240305"}, // the same day again is no news
       {Sel(MCN_GETDAYSTATE, 3, 5), L"0 open browsed 20240305"},
       {Sel(MCN_SELCHANGE, 3, 6), L"0 open SelChange browsed 20240306"},
       {Sel(MCN_SELECT, 3, 6), L"0 closed told0 SelSelected SetFocusToForm field 20240306"},
       // Browsing and closing without a pick counts as one pick, on closing, however often closed.
       {open, L"1 open told1 20240306"},
       {Sel(MCN_SELCHANGE, 3, 9), L"0 open SelChange browsed 20240309"},
       {Sel(MCN_SELCHANGE, 3, 10), L"0 open SelChange browsed 20240310"},
       {close, L"1 closed told0 SelSelected SetFocusToForm field 20240310"},
       {open, L"1 open told1 20240310"},
       {close, L"1 closed told0 SetFocusToForm field 20240310"},
       {open, L"1 open told1 20240310"},
       {Sel(MCN_SELCHANGE, 5, 2), L"0 open SelChange browsed 20240502"},
       {[&] { return SendKey(VK_ESCAPE), 0; }, L"0 closed told0 SelSelected SetFocusToForm field 20240502"},
       {[&] { return Notice(); }, L"0 closed told0 SetFocusToForm field 20240502"},
       {close, L"1 closed told0 SetFocusToForm field 20240502"},
       // The selected date comes from the calendar; opening shows an empty field the
       // calendar's day and selects a full value in the calendar.
       {open, L"1 open told1 20240502"},
       {[&] {
          SYSTEMTIME pick = Day(2023, 11, 20);
          SendMessageW(Drop(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&pick));
          return selected();
        },
        L"20231120 open 20240502"},
       {[&] { return Close() && !PutString(L"Caption", L"") && Open(); },
        L"1 open told0 told1 SetFocusToForm 20231120"},
       {[&] { return Close() && !PutString(L"Caption", L"20240315") && Open() ? selected() : 0; },
        L"20240315 open told0 told1 SetFocusToForm 20240315"},
       // Another control's drop-down: the form's notice closes this one, whatever it says,
       // and leaves the other's watchers alone.
       {[&] {
          other = AllocRunDllControl();
          other->SetRunMode(TRUE);
          other->SetRunFormDispatch(Form, FormWindow(), 0, 0);
          other->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 100, 150, 122), FormWindow(), 101);
          return SendMessageW(other->m_hWnd, WM_CALENDAR_SHOW, 0, 0);
        },
        L"1 visible shown marked-other watched-other told1? 20240315"},
       {[&] { return Notice(reinterpret_cast<LPARAM>(other->m_hWnd)); },
        L"0 marked-other watched-other told0 SetFocusToForm field 20240315"},
       {[&] {
          LRESULT r = SendMessageW(other->m_hWnd, WM_CALENDAR_HIDE, 0, 0);
          other->ExternalRelease();
          return r;
        },
        L"1 closed told0? KillFocus SetFocusToForm 20240315"},
       // A time style closes and deletes it, and answers 0 to everything.
       {open, L"1 open told1 20240315"},
       {[&] { return !PutLong(L"Style", 4) && !Drop() && !IsWindow(first); },
        L"1 closed told0 SetFocus SetFocusToForm field"},
       {open, L"0 closed field"},
       {close, L"0 closed field"},
       {[&] { return Notice(); }, L"0 closed field"},
       {[&] { return y = 1, m = 2, d = 3, selected(); }, L"-10203 closed field"}}, // outputs left alone
      // In design mode only a pick reports.
      {{[&] { return make(false, 0); }, L"0 closed SetFocus field 20240315"},
       {open, L"1 open 20240315"},
       {Sel(MCN_SELCHANGE, 5, 1), L"0 open 20240315"},
       {Sel(MCN_SELECT, 5, 1), L"0 closed SelSelected field 20240501"}},
  };
  for (const auto& steps : scenarios) {
    Renew();
    g_told.clear();
    Rec.Events.clear();
    for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(After(steps[i].first()), steps[i].second) << "step " << i;
  }
  // Every style: a date style opens, a time style answers 0 and creates nothing.
  for (int style : {0, 1, 2, 3, 4, 5}) {
    Fresh();
    PutLong(L"Style", style);
    Create(true, 140, 22);
    EXPECT_EQ(Open() * 10 + (Drop() != nullptr), style == 1 || style > 3 ? 0 : 11) << style;
  }
}

TEST_F(DropDown, ShiftsLeftToEndAtTheMainWindowsRightEdge) {
  Create(true, 140, 22);
  ASSERT_EQ(Open(), 1);
  int width = Ctl->GetCalendarWndPtr()->GetClientRect().Width();
  ASSERT_EQ(Close(), 1);
  int left = Ctl->GetWindowRect().left;
  struct {
    int mainWidth;
    int wantLeft;
  } const cases[] = {
      {0, left},            // no main window: no shift
      {left + width, left}, // ends exactly at the edge
      {left + width - 1, left + width - 1 - width},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mainWidth);
    JTLink_SetMainWindowSize(c.mainWidth, 700);
    ASSERT_EQ(Open(), 1);
    CRect placed = Ctl->GetCalendarWndPtr()->GetWindowRect();
    EXPECT_EQ(placed.left, c.wantLeft);
    EXPECT_EQ(placed.top, Ctl->GetWindowRect().bottom - 1) << "one row over the control's last, never moved up";
    ASSERT_EQ(Close(), 1);
  }
}

// The watchers close it on a real click elsewhere; the keyboard watcher only hides it on
// Escape or Enter (Escape disables it too), and opening again brings it back usable; Escape
// inside the calendar closes it through the control and gives the field the focus back.
TEST_F(DropDown, RealClicksAndKeysCloseOrHideIt) {
  PinnedClock clock(L"20240315120000");
  Create(true, 140, 22);
  const struct {
    std::wstring how;
    const wchar_t* want; // once off the screen; the answer is whether it is enabled
  } cases[] = {{L"click form", L"1 closed told0 SetFocus SetFocusToForm field 20240315"},
               {L"click field", L"1 closed told0 SetFocusToForm SetFocusToForm field 20240315"},
               {L"Escape", L"0 closed told0 SetFocusToForm field 20240315"},
               {L"Enter", L"1 closed told0 SetFocusToForm field 20240315"},
               {L"Escape in calendar", L"0 closed told0 SetFocusToForm field 20240315"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    SetForegroundWindow(FormWindow());
    if (c.how == L"Escape in calendar") Ctl->MSetFocus();
    ASSERT_TRUE(Open() == 1 && IsWindowEnabled(Drop()));
    HWND drop = Drop();
    EXPECT_EQ(State(), L"open");
    After(0);
    if (c.how.rfind(L"click", 0) == 0) {
      POINT p = c.how == L"click form" ? POINT{400, 300} : POINT{20, 10};
      ClientToScreen(c.how == L"click form" ? FormWindow() : Ctl->m_hWnd, &p);
      realinput::ClickAt(p);
    } else {
      if (c.how == L"Escape in calendar") ::SetFocus(drop); // the clerk clicked into the calendar
      const WORD vk = c.how == L"Enter" ? VK_RETURN : VK_ESCAPE;
      realinput::PressKey({vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), false});
    }
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(drop); }));
    Pump(); // a close the watcher posted
    EXPECT_EQ(After(IsWindowEnabled(drop)), c.want);
  }
}

// A bordered popup on top, its frame drawn in the drop-down colour; the font follows the
// control's, and the size what the calendar asks for in it.
TEST_F(DropDown, FrameColourFontAndSize) {
  Create(true, 140, 22);
  ASSERT_EQ(Open(), 1);
  HWND drop = Drop();
  EXPECT_TRUE(GetWindowLongW(drop, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindowLongW(drop, GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CHILD), WS_POPUP | WS_BORDER);
  RedrawWindow(drop, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const CRect before = Ctl->GetCalendarWndPtr()->GetWindowRect();
  const int w = before.Width(), h = before.Height();
  CWindowDC dc(drop);
  for (POINT p : {POINT{0, 0}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}})
    EXPECT_EQ(GetPixel(dc, p.x, p.y), CColorMgr::getInstance()->GetColor(CColorMgr::CI_DROPDOWN_FRAME, 0));
  auto font = [](HWND w) { return reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)); };
  HFONT first = font(drop);
  EXPECT_EQ(first, font(Ctl->Edit.m_hWnd));
  ASSERT_EQ(PutLong(L"FontIndex", 5), S_OK);
  EXPECT_NE(font(drop), first);
  EXPECT_EQ(font(drop), font(Ctl->Edit.m_hWnd));
  CRect after = Ctl->GetCalendarWndPtr()->GetWindowRect();
  EXPECT_GT(after.Width(), w);
  RECT need = {};
  SendMessageW(drop, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  EXPECT_EQ(std::make_pair(after.Width(), after.Height()),
            std::make_pair(int(need.right - need.left), int(need.bottom - need.top)));
}
