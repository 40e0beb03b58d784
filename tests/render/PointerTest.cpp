#include "TestHost.h"

#include "Lumadex.h"
#include "Tondril.h"
#include "fxwnd.h"

#include <algorithm>

using namespace testhost;

namespace {

// The pointer state as one readable word list.
std::wstring Flags(const CCalendarCtl* c) {
  const std::pair<BOOL, const wchar_t*> flags[] = {{c->ButtonPressed, L"pressed"}, {c->SpinUpPressed, L"up"},
                                                   {c->SpinDownPressed, L"down"},  {c->PointerInButton, L"in"},
                                                   {c->RepeatStarted, L"repeat"},  {c->ArrowHot, L"hot"},
                                                   {c->LeaveTracking, L"tracking"}};
  std::wstring s;
  for (const auto& f : flags)
    if (f.first) s += (s.empty() ? L"" : L" ") + std::wstring(f.second);
  return s;
}

// The first paint call: the arrow's button in the given state.
std::wstring ArrowButton(int state) {
  return L"DrawButton 123,-1,141,23 style=5 state=" + std::to_wstring(state) + L" edges=0 flags=10000000";
}

int Count(const std::vector<std::wstring>& v, const wchar_t* what) {
  return static_cast<int>(std::count(v.begin(), v.end(), std::wstring(what)));
}

} // namespace

class Pointer : public RenderFixture {
protected:
  // A 140 x 22 spin control, painted so that its button answers.
  void CreateSpin(int style = 2) {
    PutLong(L"Style", style);
    PutLong(L"DateFormat", 2);
    Create(true, 140, 22);
    PaintOnce();
    ASSERT_EQ(RectText(Ctl->ButtonRect), L"123,-1,141,23");
  }
  int Steps() const { return Count(Rec.Events.Texts(), L"SelSelected"); }
};

// Upper half rows -1..10, lower half 11..22 of the 140 x 22 control.
TEST_F(Pointer, SpinHalvesAreSplitWhereThePaintSplitsThem) {
  CreateSpin();
  struct {
    int x, y;
    BOOL up;
  } const points[] = {{123, 0, TRUE},  {139, 10, TRUE}, {130, 11, FALSE}, {140, 21, FALSE},
                      {122, 5, FALSE}, {130, -1, TRUE}, {130, 23, FALSE}};
  for (const auto& p : points) EXPECT_EQ(Ctl->CheckInSpinUpRect(CPoint(p.x, p.y)), p.up) << p.x << "," << p.y;
}

TEST_F(Pointer, SpinPressStepsOnceAndRepeatsFromTheTimersWhileHeld) {
  struct Step {
    const wchar_t* action;
    int steps; // steps so far
    const wchar_t* flags;
  };
  struct Scenario {
    const wchar_t* name;
    bool repeatTimerLeft; // timer 112 still runs at the end
    const wchar_t* value; // the value at the end, once stepping is real (pinned 2024-01-31)
    std::vector<Step> steps;
  };
  // clang-format off
  const Scenario scenarios[] = {
      {L"short click on the upper half", false, L"20240201", {{L"press-up", 1, L"pressed up in"}, {L"release", 1, L"in"}}},
      {L"held 750 ms on the lower half", false, L"20240127",
       {{L"press-down", 1, L"pressed down in"}, {L"timer111", 2, L"pressed down in repeat"},
        {L"timer112", 3, L"pressed down in repeat"}, {L"timer112", 4, L"pressed down in repeat"},
        // The pointer is still over the control: only leaving clears that.
        {L"release", 4, L"in"}, {L"timer112", 4, L"in"}}},
      {L"released before the delay", false, L"20240201",
       {{L"press-up", 1, L"pressed up in"}, {L"release", 1, L"in"}, {L"timer111", 1, L"in"}}},
      {L"pointer leaves while held", true, L"20240202",
       {{L"press-up", 1, L"pressed up in"}, {L"timer111", 2, L"pressed up in repeat"},
        {L"leave", 2, L"pressed repeat"}, {L"timer112", 2, L"pressed repeat"},
        {L"move", 2, L"pressed repeat hot tracking"}, {L"timer112", 2, L"pressed repeat hot tracking"},
        // The halves were forgotten on leaving: the release leaves the repeat timer running.
        {L"release", 2, L"repeat hot tracking"}, {L"timer112", 2, L"repeat hot tracking"}}},
  };
  // clang-format on
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    Fresh();
    PinnedClock clock(L"20240131120000");
    CreateSpin();
    Rec.Events.clear();
    for (const Step& st : s.steps) {
      SCOPED_TRACE(st.action);
      std::wstring a = st.action;
      if (a == L"press-up") SendMouse(WM_LBUTTONDOWN, 130, 5, MK_LBUTTON);
      if (a == L"press-down") SendMouse(WM_LBUTTONDOWN, 130, 15, MK_LBUTTON);
      if (a == L"release") SendMouse(WM_LBUTTONUP, 130, 5);
      if (a == L"timer111") SendMessageW(Ctl->m_hWnd, WM_TIMER, 111, 0);
      if (a == L"timer112") SendMessageW(Ctl->m_hWnd, WM_TIMER, 112, 0);
      if (a == L"move") SendMouse(WM_MOUSEMOVE, 130, 5, MK_LBUTTON);
      if (a == L"leave") {
        EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_MOUSELEAVE, 0, 0), 1);
      }
      EXPECT_EQ(Flags(Ctl), st.flags);
      if (a.rfind(L"press", 0) == 0) {
        EXPECT_EQ(GetCapture(), Ctl->m_hWnd);
      }
      if (a == L"release") {
        EXPECT_NE(GetCapture(), Ctl->m_hWnd);
      }
      EXPECT_EQ(Steps(), st.steps);
    }
    EXPECT_EQ(std::wstring(Ctl->Caption.GetString()), s.value);
    // Killing answers whether the timer was still there.
    EXPECT_EQ(KillTimer(Ctl->m_hWnd, 112) != FALSE, s.repeatTimerLeft);
    KillTimer(Ctl->m_hWnd, 111);
  }
}

// The arrow toggles the drop-down at the press, and lights up under the pointer until it
// leaves the window.
TEST_F(Pointer, ArrowPressTogglesTheDropDownAndHoverLightsTheArrow) {
  Create(true, 140, 22);
  PaintOnce();
  struct Step {
    UINT msg;
    int x, y;
    BOOL open;
    const wchar_t* flags;
    int arrowState; // in the next paint
  } const steps[] = {
      {WM_LBUTTONDOWN, 130, 10, TRUE, L"pressed", 1},
      {WM_LBUTTONUP, 130, 10, TRUE, L"", 0},
      {WM_LBUTTONDOWN, 130, 10, FALSE, L"pressed", 1},
      {WM_LBUTTONUP, 130, 10, FALSE, L"", 0},
      // Released outside the control, over the drop-down: closed again.
      {WM_LBUTTONDOWN, 130, 10, TRUE, L"pressed", 1},
      {WM_LBUTTONUP, 130, 40, FALSE, L"", 0},
      // Released outside with the drop-down closed: stays closed.
      {WM_LBUTTONDOWN, 130, 10, TRUE, L"pressed", 1},
      {WM_LBUTTONUP, 130, 10, TRUE, L"", 0},
      {WM_LBUTTONDOWN, 130, 10, FALSE, L"pressed", 1},
      {WM_LBUTTONUP, 200, 40, FALSE, L"", 0},
      {WM_MOUSEMOVE, 40, 10, FALSE, L"", 0}, // the field's part of the control: no hover
      {WM_MOUSEMOVE, 130, 10, FALSE, L"hot tracking", 2},
      {WM_MOUSEMOVE, 40, 10, FALSE, L"hot tracking", 2}, // off the button but inside: stays hot
      {WM_MOUSELEAVE, 0, 0, FALSE, L"", 0},
      {WM_MOUSEMOVE, 135, 3, FALSE, L"hot tracking", 2},
  };
  int presses = 0, closes = 0;
  BOOL wasOpen = FALSE;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << s.msg << " at " << s.x << "," << s.y);
    SendMouse(s.msg, s.x, s.y, s.msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
    presses += s.msg == WM_LBUTTONDOWN;
    closes += wasOpen && !s.open;
    wasOpen = s.open;
    EXPECT_EQ(Ctl->IsCalendarVisible(), s.open);
    ASSERT_NE(Ctl->GetCalendarWndPtr(), nullptr);
    EXPECT_EQ(IsWindowVisible(Ctl->GetCalendarWndPtr()->m_hWnd), s.open);
    EXPECT_EQ(Flags(Ctl), s.flags);
    EXPECT_EQ(GetCapture() == Ctl->m_hWnd, s.msg == WM_LBUTTONDOWN);
    EXPECT_EQ(PaintOnce().at(0), ArrowButton(s.arrowState));
  }
  // The arrow's press never reached the base; the form learned of every press, and of
  // the field taking the focus back each time the drop-down closed.
  EXPECT_EQ(Ctl->BasePressCount(), 0);
  EXPECT_EQ(Count(Form->Calls.Texts(), L"SetFocusToForm"), presses + closes);
}

TEST_F(Pointer, PressesOutsideTheButtonGoToTheBaseAndADisabledButtonIgnoresThem) {
  struct Case {
    int style, enabled;
    int x, y;
    int basePresses;
    int formTold;
    const wchar_t* flags;
    BOOL open;
    int laterStyle = -1; // switched to after the paint: the button's last rectangle still answers
  } const cases[] = {
      // (A press on the arrow is the toggle test's.)
      {0, 1, 40, 10, 1, 1, L"", FALSE},
      {0, 0, 130, 10, 0, 0, L"", FALSE},
      {0, 0, 40, 10, 1, 0, L"", FALSE},
      {2, 0, 130, 5, 0, 0, L"", FALSE},
      {2, 1, 40, 5, 1, 1, L"", FALSE},
      // Without a button every press belongs to the base.
      {1, 1, 130, 10, 1, 1, L"", FALSE},
      {3, 1, 139, 10, 1, 1, L"", FALSE},
      {5, 0, 130, 10, 1, 0, L"", FALSE},
      {2, 1, 130, 5, 0, 1, L"", FALSE, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(L"style " + std::to_wstring(c.style) + L" enabled " + std::to_wstring(c.enabled) + L" at " +
                 std::to_wstring(c.x));
    Fresh();
    PutLong(L"Style", c.style);
    PutLong(L"Enabled", c.enabled);
    Create(true, 140, 22);
    PaintOnce();
    if (c.laterStyle >= 0) {
      ASSERT_EQ(PutLong(L"Style", c.laterStyle), S_OK);
      PaintOnce();
    }
    Form->Calls.clear();
    SendMouse(WM_LBUTTONDOWN, c.x, c.y, MK_LBUTTON);
    EXPECT_EQ(Ctl->BasePressCount(), c.basePresses);
    EXPECT_EQ(Count(Form->Calls.Texts(), L"SetFocusToForm"), c.formTold);
    EXPECT_EQ(Flags(Ctl), c.flags);
    EXPECT_EQ(Ctl->IsCalendarVisible(), c.open);
    SendMouse(WM_LBUTTONUP, c.x, c.y);
    KillTimer(Ctl->m_hWnd, 111);
  }
}

TEST_F(Pointer, ArrowIsNotHotWhileAnotherWindowCoversIt) {
  Create(true, 140, 22);
  PaintOnce();
  // A topmost window over the button.
  POINT screen = {120, 0};
  ClientToScreen(Ctl->m_hWnd, &screen);
  CWnd cover;
  ASSERT_TRUE(cover.CreateSystem(L"LISTBOX", WS_EX_TOPMOST, L"", WS_POPUP | WS_VISIBLE,
                                 RECT{screen.x, screen.y, screen.x + 40, screen.y + 30}, nullptr, 0));
  Ctl->ArrowHot = TRUE;
  SendMouse(WM_MOUSEMOVE, 130, 10);
  EXPECT_EQ(Flags(Ctl), L"");
}
