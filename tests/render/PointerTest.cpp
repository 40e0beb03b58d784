#include "TestHost.h"

#include "fxwnd.h"

#include <algorithm>

using namespace testhost;

class Pointer : public RenderFixture {
protected:
  // Sends "down x,y", "up x,y", "move x,y", "leave" or "timer N", or lays a topmost window
  // over the button for the rest of the test ("cover"). "style N" and "enabled N" set the
  // property: before the window is made (on the first other action), or else repainting.
  void Act(const std::wstring& action) {
    const bool property = action.rfind(L"style", 0) == 0 || action.rfind(L"enabled", 0) == 0;
    if (!Ctl->m_hWnd && !property) {
      Create(true, 140, 22);
      PaintOnce();
    }
    int x = 0, y = 0;
    swscanf(action.c_str() + action.find(L' ') + 1, L"%d,%d", &x, &y);
    if (action.rfind(L"down", 0) == 0) SendMouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    if (action.rfind(L"up", 0) == 0) SendMouse(WM_LBUTTONUP, x, y);
    if (action.rfind(L"move", 0) == 0) SendMouse(WM_MOUSEMOVE, x, y);
    if (action == L"leave") {
      EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_MOUSELEAVE, 0, 0), 1);
    }
    if (action.rfind(L"timer", 0) == 0) SendMessageW(Ctl->m_hWnd, WM_TIMER, x, 0);
    if (property) {
      ASSERT_EQ(PutLong(action[0] == L's' ? L"Style" : L"Enabled", x), S_OK);
      if (Ctl->m_hWnd) PaintOnce();
    }
    if (action == L"cover") {
      POINT screen = {120, 0};
      ClientToScreen(Ctl->m_hWnd, &screen);
      ASSERT_TRUE(cover.CreateSystem(L"LISTBOX", WS_EX_TOPMOST, L"", WS_POPUP | WS_VISIBLE,
                                     RECT{screen.x, screen.y, screen.x + 40, screen.y + 30}, nullptr, 0));
    }
  }
  // The pointer state as one word list, with the steps (picks), base presses and form
  // focus calls so far, and the value.
  std::wstring Outcome() {
    const std::vector<std::wstring> calls = Form->Calls.Texts(), events = Rec.Events.Texts();
    const auto steps = std::count(events.begin(), events.end(), L"SelSelected");
    const auto told = std::count(calls.begin(), calls.end(), L"SetFocusToForm");
    const std::pair<bool, std::wstring> words[] = {
        {Ctl->ButtonPressed, L"pressed"},
        {Ctl->SpinUpPressed, L"up"},
        {Ctl->SpinDownPressed, L"down"},
        {Ctl->PointerInButton, L"in"},
        {Ctl->RepeatStarted, L"repeat"},
        {Ctl->ArrowHot, L"hot"},
        {Ctl->LeaveTracking, L"tracking"},
        {Ctl->m_hWnd && GetCapture() == Ctl->m_hWnd, L"capture"},
        {Ctl->RepeatDelayTimer.IsSet(), L"t111"},
        {Ctl->RepeatTimer.IsSet(), L"t112"},
        {Ctl->IsCalendarVisible(), L"open"},
        {steps > 0, L"steps" + std::to_wstring(steps)},
        {Ctl->BasePressCount() > 0, L"base" + std::to_wstring(Ctl->BasePressCount())},
        {told > 0, L"told" + std::to_wstring(told)},
        {true, Ctl->Caption.GetString()}};
    std::wstring s;
    for (const auto& w : words)
      if (w.first && !w.second.empty()) s += (s.empty() ? L"" : L" ") + w.second;
    return s;
  }
  CWnd cover;
};

// Upper half rows -1..10, lower half 11..22 of the 140 x 22 control.
TEST_F(Pointer, SpinHalvesAreSplitWhereThePaintSplitsThem) {
  PutLong(L"Style", 2);
  Create(true, 140, 22);
  PaintOnce();
  ASSERT_EQ(RectText(Ctl->ButtonRect), L"123,-1,141,23");
  struct {
    int x, y;
    BOOL up;
  } const points[] = {{123, 0, TRUE},  {139, 10, TRUE}, {130, 11, FALSE}, {140, 21, FALSE},
                      {122, 5, FALSE}, {130, -1, TRUE}, {130, 23, FALSE}};
  for (const auto& p : points) EXPECT_EQ(Ctl->CheckInSpinUpRect(CPoint(p.x, p.y)), p.up) << p.x << "," << p.y;
}

// The arrow toggles the drop-down at the press and lights up under the pointer until it
// leaves the window; a spin half steps once at the press and repeats from the timers while
// held; presses off the button go to the base, and a disabled button ignores them.
TEST_F(Pointer, PressesOnTheButtonsAndBesideThem) {
  using Steps = std::vector<std::pair<const wchar_t*, const wchar_t*>>; // action, outcome after it
  const Steps scenarios[] = {
      {{L"down 130,10", L"pressed capture open told1 20240131"},
       {L"up 130,10", L"open told1 20240131"},
       {L"down 130,10", L"pressed capture told3 20240131"}, // closing gives the field the focus
       {L"up 130,10", L"told3 20240131"},
       // Released outside the control, over the drop-down: closed again.
       {L"down 130,10", L"pressed capture open told4 20240131"},
       {L"up 130,40", L"told5 20240131"},
       // Released outside with the drop-down closed: stays closed.
       {L"down 130,10", L"pressed capture open told6 20240131"},
       {L"up 130,10", L"open told6 20240131"},
       {L"down 130,10", L"pressed capture told8 20240131"},
       {L"up 200,40", L"told8 20240131"},
       {L"down 40,10", L"base1 told9 20240131"},
       {L"up 40,10", L"base1 told9 20240131"},
       {L"move 40,10", L"base1 told9 20240131"}, // the field's part of the control: no hover
       {L"move 130,10", L"hot tracking base1 told9 20240131"},
       {L"move 40,10", L"hot tracking base1 told9 20240131"}, // off the button but inside: stays hot
       {L"leave", L"base1 told9 20240131"},
       {L"move 135,3", L"hot tracking base1 told9 20240131"},
       {L"cover", L"hot tracking base1 told9 20240131"},
       {L"move 130,10", L"tracking base1 told9 20240131"}}, // not hot under another window
      {{L"enabled 0", L""}, {L"down 130,10", L"20240131"}, {L"down 40,10", L"base1 20240131"}},
      // Without a button every press belongs to the base.
      {{L"style 3", L""}, {L"down 139,10", L"base1 told1 20240131"}},
      // A style without a button still answers to the last painted button.
      {{L"style 2", L""},
       {L"down 40,5", L"base1 told1 20240131"},
       {L"style 3", L"base1 told1 20240131"},
       {L"down 130,5", L"base1 told2 20240131"}},
      // Released before the delay: one step.
      {{L"style 2", L""},
       {L"down 130,5", L"pressed up in capture t111 steps1 told1 20240201"},
       {L"up 130,5", L"in t111 steps1 told1 20240201"},
       {L"timer 111", L"in steps1 told1 20240201"}},
      // Held on the lower half: the pointer is still over the control after the release,
      // as only leaving clears that.
      {{L"style 2", L""},
       {L"down 130,15", L"pressed down in capture t111 steps1 told1 20240130"},
       {L"timer 111", L"pressed down in repeat capture t112 steps2 told1 20240129"},
       {L"timer 112", L"pressed down in repeat capture t112 steps3 told1 20240128"},
       {L"timer 112", L"pressed down in repeat capture t112 steps4 told1 20240127"},
       {L"up 130,5", L"in steps4 told1 20240127"},
       {L"timer 112", L"in steps4 told1 20240127"}},
      // The halves are forgotten on leaving: the release leaves the repeat timer running.
      {{L"style 2", L""},
       {L"down 130,5", L"pressed up in capture t111 steps1 told1 20240201"},
       {L"timer 111", L"pressed up in repeat capture t112 steps2 told1 20240202"},
       {L"leave", L"pressed repeat capture t112 steps2 told1 20240202"},
       {L"timer 112", L"pressed repeat capture t112 steps2 told1 20240202"},
       {L"move 130,5", L"pressed repeat hot tracking capture t112 steps2 told1 20240202"},
       {L"timer 112", L"pressed repeat hot tracking capture t112 steps2 told1 20240202"},
       {L"up 130,5", L"repeat hot tracking t112 steps2 told1 20240202"}},
  };
  for (const Steps& steps : scenarios) {
    Renew();
    Rec.Events.clear();
    PinnedClock clock(L"20240131120000");
    PutLong(L"DateFormat", 2);
    for (const auto& step : steps) {
      Act(step.first);
      EXPECT_EQ(Outcome(), step.second) << step.first;
    }
    if (cover.m_hWnd) cover.DestroyWindow();
  }
}
