#include "TestHost.h"

#include "CalendarWnd.h"
#include "Lumadex.h"
#include "FormDriver.h"
#include "RealInput.h"
#include "Tondril.h"

using namespace testhost;

namespace {

// 0x065E notifications that reach the form's frame, with wParam and lParam.
seq::Log g_frameNotes{seq::Message};
std::wstring Note(WPARAM shown, LPARAM from) {
  return L"065E " + std::to_wstring(shown) + L" " + std::to_wstring(from);
}
WNDPROC g_frameProc = nullptr;

LRESULT CALLBACK RecordingFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LISTBOX_SHOW) g_frameNotes.Add(Note(wParam, lParam));
  return CallWindowProcW(g_frameProc, hwnd, msg, wParam, lParam);
}

seq::Entries Notes(std::initializer_list<WPARAM> shown, HWND ctl) {
  seq::Entries out;
  for (WPARAM w : shown) out.emplace_back(seq::Message, Note(w, reinterpret_cast<LPARAM>(ctl)));
  return out;
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

// A real key press and release, for the drop-down's keyboard watcher.
void SendKeyReal(WORD vk) { realinput::PressKey({vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), false}); }

} // namespace

class DropDown : public ControlFixture {
protected:
  void SetUp() override {
    ControlFixture::SetUp();
    g_frameNotes.clear();
    g_frameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(FormWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingFrameProc)));
  }
  void TearDown() override {
    JTLink_SetMainWindowSize(0, 0);
    if (Ctl) Ctl->ExternalRelease();
    Ctl = nullptr;
    SetWindowLongPtrW(FormWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
    ControlFixture::TearDown();
    EXPECT_EQ(FindCalendarHookRecord(), nullptr) << "a watcher outlived its control";
  }
  HWND Drop() const { return Ctl->GetCalendarWndPtr() ? Ctl->GetCalendarWndPtr()->m_hWnd : nullptr; }
  LRESULT Open() { return SendMessageW(Ctl->m_hWnd, WM_CALENDAR_SHOW, 0, 0); }
  LRESULT Close() { return SendMessageW(Ctl->m_hWnd, WM_CALENDAR_HIDE, 0, 0); }
  // Sends the control the notification its drop-down sends on a selection.
  LRESULT Notify(UINT code, const SYSTEMTIME& day) {
    NMSELCHANGE n = {};
    n.nmhdr.hwndFrom = Drop();
    n.nmhdr.code = code;
    n.stSelStart = n.stSelEnd = day;
    return SendMessageW(Ctl->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
  }
  // Open, with its watchers and the module's record pointing at it.
  void ExpectOpen() {
    ASSERT_NE(Drop(), nullptr);
    EXPECT_TRUE(Ctl->IsCalendarVisible() && IsWindowVisible(Drop()));
    EXPECT_EQ(GetOpenCalendarWnd(), Ctl->GetCalendarWndPtr());
    EXPECT_EQ(GetOpenCalendarCtl(), Ctl);
    const CalendarHookRecord* rec = FindCalendarHookRecord();
    ASSERT_NE(rec, nullptr);
    EXPECT_TRUE(rec->KeyboardHook && rec->MouseHook);
    EXPECT_TRUE(rec->CtlHwnd == Ctl->m_hWnd && rec->CalendarHwnd == Drop());
  }
  void ExpectClosed() {
    EXPECT_FALSE(Ctl->IsCalendarVisible() || (Drop() && IsWindowVisible(Drop())));
    EXPECT_TRUE(!GetOpenCalendarWnd() && !GetOpenCalendarCtl() && !FindCalendarHookRecord());
  }
  // The calendar's selection as yyyymmdd.
  int Selected() {
    SYSTEMTIME sel = {};
    SendMessageW(Drop(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&sel));
    return sel.wYear * 10000 + sel.wMonth * 100 + sel.wDay;
  }
};

// Date styles drop down on request even without an arrow; time styles answer 0 and create
// nothing. A switch to a time style closes and deletes it.
TEST_F(DropDown, DateStylesDropDownOnTopAndTellTheFormTimeStylesDoNot) {
  for (int style : {0, 1, 2, 3, 4, 5}) {
    SCOPED_TRACE(style);
    Fresh();
    PutLong(L"Style", style);
    Create(true, 140, 22);
    ASSERT_EQ(Ctl->GetCalendarWndPtr(), nullptr) << "created only on first use";
    g_frameNotes.clear();
    Form->Calls.clear();
    if (style == 1 || style > 3) {
      EXPECT_EQ(Open(), 0);
      EXPECT_EQ(Close(), 0);
      ExpectClosed();
      EXPECT_EQ(Ctl->GetCalendarWndPtr(), nullptr);
      EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_LISTBOX_SHOW, 1, 0), 0);
      EXPECT_TRUE(g_frameNotes.empty() && Form->Calls.empty());
      int y = 1, m = 2, d = 3;
      EXPECT_FALSE(Ctl->GetCurSelectedDate(y, m, d));
      EXPECT_EQ(y * 10000 + m * 100 + d, 10203) << "a time style leaves the outputs alone";
      continue;
    }
    EXPECT_EQ(Open(), 1);
    ExpectOpen();
    HWND drop = Drop();
    // Where it goes is the next test's; here its size and its styles.
    CRect placed = Ctl->GetCalendarWndPtr()->GetWindowRect();
    RECT need = {};
    SendMessageW(drop, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    EXPECT_EQ(std::make_pair(placed.Width(), placed.Height()),
              std::make_pair(int(need.right - need.left), int(need.bottom - need.top)));
    EXPECT_TRUE(GetWindowLongW(drop, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongW(drop, GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CHILD), WS_POPUP | WS_BORDER);
    EXPECT_SEQ(Form->Calls, std::vector<std::wstring>{L"GetChildFrameWndToForm"});
    // Opening again keeps it and tells the form again; closing gives the field the focus.
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(Close(), 1);
    ExpectClosed();
    EXPECT_SEQ(g_frameNotes, Notes({1, 1, 0}, Ctl->m_hWnd));
    EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
    // The same window serves the next opening, until a time style deletes it, closing it first.
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(Drop(), drop);
    g_frameNotes.clear();
    ASSERT_EQ(PutLong(L"Style", 4), S_OK);
    EXPECT_EQ(Ctl->GetCalendarWndPtr(), nullptr);
    EXPECT_FALSE(IsWindow(drop));
    ExpectClosed();
    EXPECT_SEQ(g_frameNotes, Notes({0}, Ctl->m_hWnd));
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
      {200, 200 - width},
      {5000, left},
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

TEST_F(DropDown, TheFormsNoticeClosesItAndLeavesAnotherControlsWatchersAlone) {
  Create(true, 140, 22);
  CCalendarCtl* other = AllocRunDllControl();
  other->SetRunMode(TRUE);
  other->SetRunFormDispatch(Form, FormWindow(), 0, 0);
  ASSERT_TRUE(other->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 100, 150, 122), FormWindow(), 101));
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(SendMessageW(other->m_hWnd, WM_CALENDAR_SHOW, 0, 0), 1);
  // The form closes the first one, as a form keeping one drop-down open does, whatever
  // the notice says.
  g_frameNotes.clear();
  EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_LISTBOX_SHOW, 1, reinterpret_cast<LPARAM>(other->m_hWnd)), 0);
  EXPECT_FALSE(Ctl->IsCalendarVisible() || IsWindowVisible(Drop()));
  EXPECT_SEQ(g_frameNotes, Notes({0}, Ctl->m_hWnd));
  EXPECT_EQ(GetOpenCalendarCtl(), other);
  ASSERT_NE(FindCalendarHookRecord(), nullptr);
  EXPECT_EQ(FindCalendarHookRecord()->CtlHwnd, other->m_hWnd);
  SendMessageW(other->m_hWnd, WM_CALENDAR_HIDE, 0, 0);
  EXPECT_EQ(FindCalendarHookRecord(), nullptr);
  other->ExternalRelease();
  // Already closed: the form is told again, and the field has the focus.
  SetFocus(FormWindow());
  g_frameNotes.clear();
  EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_LISTBOX_SHOW, 0, 0), 0);
  EXPECT_SEQ(g_frameNotes, Notes({0}, Ctl->m_hWnd));
  EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
}

TEST_F(DropDown, SelectionNotificationsFireSelChangeThenSelSelectedAndBrowsingCountsAsOnePick) {
  struct Step {
    UINT code; // 0: close through 0x0468
    SYSTEMTIME day;
    std::vector<std::wstring> events; // all so far
    BOOL selChanged, open;
  };
  const std::vector<Step> steps = {
      {MCN_SELCHANGE, Day(2024, 3, 5), {L"SelChange"}, TRUE, TRUE},
      // The same day again is no news.
      {MCN_SELCHANGE, Day(2024, 3, 5), {L"SelChange"}, TRUE, TRUE},
      {MCN_GETDAYSTATE, Day(2024, 3, 5), {L"SelChange"}, TRUE, TRUE},
      {MCN_SELCHANGE, Day(2024, 3, 6), {L"SelChange", L"SelChange"}, TRUE, TRUE},
      // A pick always reports, and closes.
      {MCN_SELECT, Day(2024, 3, 6), {L"SelChange", L"SelChange", L"SelSelected"}, FALSE, FALSE},
  };
  Create(true, 140, 22);
  // The clerk is in the field: its focus stay was reported before the drop-down opened.
  Ctl->MSetFocus();
  ASSERT_EQ(Open(), 1);
  Rec.Events.clear();
  for (const Step& s : steps) {
    SCOPED_TRACE(std::to_wstring(s.code) + L" " + std::to_wstring(s.day.wDay));
    EXPECT_EQ(Notify(s.code, s.day), 0);
    EXPECT_SEQ(Rec.Events, s.events);
    EXPECT_EQ(Ctl->CalendarSelChanged, s.selChanged);
    EXPECT_EQ(Ctl->IsCalendarVisible(), s.open);
  }
  ExpectClosed();

  // Browsing and closing without a pick counts as one pick, on closing.
  Rec.Events.clear();
  ASSERT_EQ(Open(), 1);
  EXPECT_FALSE(Ctl->CalendarSelChanged) << "cleared on opening";
  Notify(MCN_SELCHANGE, Day(2024, 3, 9));
  Notify(MCN_SELCHANGE, Day(2024, 3, 10));
  ASSERT_EQ(Close(), 1);
  EXPECT_SEQ(Rec.Events, (std::vector<std::wstring>{L"SelChange", L"SelChange", L"SelSelected"}));
  Rec.Events.clear();
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(Close(), 1);
  EXPECT_TRUE(Rec.Events.empty()) << "nothing browsed, nothing picked";
  // However often it is closed: Escape in the field, another control's drop-down, the watcher.
  ASSERT_EQ(Open(), 1);
  Notify(MCN_SELCHANGE, Day(2024, 5, 2));
  Rec.Events.clear();
  SendKey(VK_ESCAPE);
  SendMessageW(Ctl->m_hWnd, WM_LISTBOX_SHOW, 1, 0);
  ASSERT_EQ(Close(), 1);
  EXPECT_SEQ(Rec.Events, std::vector<std::wstring>{L"SelSelected"});
  EXPECT_FALSE(Ctl->CalendarSelChanged);

  // In design mode only a pick reports.
  Renew();
  Create(false, 140, 22);
  Ctl->MSetFocus();
  ASSERT_EQ(Open(), 1);
  Rec.Events.clear();
  Notify(MCN_SELCHANGE, Day(2024, 5, 1));
  EXPECT_TRUE(Rec.Events.empty());
  EXPECT_FALSE(Ctl->CalendarSelChanged);
  Notify(MCN_SELECT, Day(2024, 5, 1));
  EXPECT_SEQ(Rec.Events, std::vector<std::wstring>{L"SelSelected"});
  EXPECT_FALSE(Ctl->IsCalendarVisible());
}

// The watchers close it on a real click elsewhere; the keyboard watcher only hides it on
// Escape or Enter (Escape disables it too); Escape inside the calendar closes it through
// the control and gives the field the focus back.
TEST_F(DropDown, RealClicksAndKeysCloseOrHideIt) {
  Create(true, 140, 22);
  enum How { ClickForm, ClickField, KeyEscape, KeyEnter, EscapeInCalendar };
  for (How how : {ClickForm, ClickField, KeyEscape, KeyEnter, EscapeInCalendar}) {
    SCOPED_TRACE(how);
    const bool click = how == ClickForm || how == ClickField, hides = how == KeyEscape || how == KeyEnter;
    SetForegroundWindow(FormWindow());
    if (how == EscapeInCalendar) Ctl->MSetFocus();
    ASSERT_EQ(Open(), 1);
    HWND drop = Drop();
    g_frameNotes.clear();
    if (click) {
      POINT p = how == ClickForm ? POINT{400, 300} : POINT{20, 10};
      ClientToScreen(how == ClickForm ? FormWindow() : Ctl->m_hWnd, &p);
      realinput::ClickAt(p);
    } else {
      if (how == EscapeInCalendar) {
        ::SetFocus(drop); // the clerk clicked into the calendar
        ASSERT_EQ(GetFocus(), drop);
      }
      SendKeyReal(how == KeyEnter ? VK_RETURN : VK_ESCAPE);
    }
    if (hides) {
      ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(drop); }));
      EXPECT_EQ(IsWindowEnabled(drop) == FALSE, how == KeyEscape);
      // Opening again brings it back usable, whatever the watcher left.
      ASSERT_EQ(Open(), 1);
      ExpectOpen();
      EXPECT_TRUE(IsWindowEnabled(drop));
      ASSERT_EQ(Close(), 1);
      ExpectClosed();
      continue;
    }
    ASSERT_TRUE(PumpUntil([&] { return !Ctl->IsCalendarVisible(); })) << "the control's close did not run";
    ExpectClosed();
    if (click) {
      EXPECT_SEQ(g_frameNotes, Notes({0}, Ctl->m_hWnd));
    } else {
      EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
    }
  }
}

// The frame is drawn in the drop-down colour; the font follows the control's.
TEST_F(DropDown, FrameColourAndFont) {
  Create(true, 140, 22);
  ASSERT_EQ(Open(), 1);
  HWND drop = Drop();
  RedrawWindow(drop, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  CRect before = Ctl->GetCalendarWndPtr()->GetWindowRect();
  {
    const COLORREF want = CColorMgr::getInstance()->GetColor(CColorMgr::CI_DROPDOWN_FRAME, 0);
    CWindowDC dc(drop);
    EXPECT_EQ(GetPixel(dc, 0, 0), want);
    EXPECT_EQ(GetPixel(dc, before.Width() - 1, before.Height() / 2), want);
    EXPECT_EQ(GetPixel(dc, before.Width() / 2, before.Height() - 1), want);
  }

  auto font = [](HWND w) { return reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)); };
  HFONT first = font(drop);
  EXPECT_EQ(first, font(Ctl->Edit.m_hWnd));
  ASSERT_EQ(PutLong(L"FontIndex", 5), S_OK);
  EXPECT_NE(font(drop), first);
  EXPECT_EQ(font(drop), font(Ctl->Edit.m_hWnd));
  CRect after = Ctl->GetCalendarWndPtr()->GetWindowRect();
  EXPECT_GT(after.Width(), before.Width());
  RECT need = {};
  SendMessageW(drop, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  EXPECT_EQ(after.Width(), need.right - need.left);
}

// The selected date comes from the calendar, else today; opening shows an empty field the
// calendar's day and selects a full value in the calendar.
TEST_F(DropDown, SelectedDateAndTheValueOnOpening) {
  Create(true, 140, 22);
  int y = 0, m = 0, d = 0;
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  EXPECT_FALSE(Ctl->GetCurSelectedDate(y, m, d)) << "no calendar yet";
  EXPECT_EQ(y * 10000 + m * 100 + d, now.wYear * 10000 + now.wMonth * 100 + now.wDay);
  ASSERT_EQ(Open(), 1);
  SYSTEMTIME pick = Day(2023, 11, 20);
  SendMessageW(Drop(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&pick));
  EXPECT_TRUE(Ctl->GetCurSelectedDate(y, m, d));
  EXPECT_EQ(y * 10000 + m * 100 + d, 20231120);
  ASSERT_EQ(Close(), 1);
  ASSERT_EQ(PutString(L"Caption", L""), S_OK);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(std::wstring(Ctl->Caption.GetString()), L"20231120");
  ASSERT_EQ(Close(), 1);
  ASSERT_EQ(PutString(L"Caption", L"20240315"), S_OK);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Selected(), 20240315);
  EXPECT_EQ(std::wstring(Ctl->Caption.GetString()), L"20240315");
}
