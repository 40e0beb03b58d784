// Handle hygiene: whatever a control repeats, the windows, GDI objects, drop-down hooks
// and timers it owns come back to where they were.
#include "TestHost.h"

#include "CalendarWnd.h"
#include "HandleCount.h"
#include "Tondril.h"

#include <functional>

using namespace testhost;

class Leaks : public RenderFixture {};

TEST_F(Leaks, RepeatedWorkLeavesNoWindowGdiObjectHookOrTimerBehind) {
  Create();
  Pump();
  // The counters see one more window and one more brush, so they can catch a leak.
  {
    const DWORD user0 = handlecount::UserObjects(), gdi0 = handlecount::GdiObjects();
    CWnd probe;
    probe.CreateSystem(L"STATIC", 0, L"", WS_CHILD, CRect(0, 0, 1, 1), FormWindow(), 0);
    CBrush brush(RGB(1, 2, 3));
    EXPECT_EQ(handlecount::UserObjects(), user0 + 1);
    EXPECT_EQ(handlecount::GdiObjects(), gdi0 + 1);
  }

  // Wine's month calendar keeps one font per WM_SETFONT after it is destroyed; measure
  // what the platform itself leaks so that only the control's own objects are counted.
  const DWORD raw0 = handlecount::GdiObjects();
  {
    CWnd raw;
    raw.CreateSystem(MONTHCAL_CLASSW, 0, L"", WS_POPUP, CRect(0, 0, 0, 0), FormWindow(), 0);
    raw.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  const long platformFontPerDropDown = static_cast<long>(handlecount::GdiObjects()) - static_cast<long>(raw0);

  auto makeAndRelease = [&](int i, bool open) {
    CCalendarCtl* c = AllocRunDllControl();
    c->Style = static_cast<short>(i % 6);
    c->AppearanceStyle = static_cast<short>(i % 3);
    c->SetRunMode(TRUE);
    c->SetRunFormDispatch(Form, FormWindow(), 0, 0);
    c->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 22), FormWindow(), 200 + i);
    UpdateWindow(c->m_hWnd);
    if (open) c->SendMessage(WM_CALENDAR_SHOW, 0, 0);
    c->ExternalRelease();
  };
  struct Row {
    const char* name;
    int style, theme, times;
    std::function<void(int)> once;
    long dropDownsGone; // month calendars destroyed over all repetitions
  };
  const Row rows[] = {
      // Every sixth control of every style opens its drop-down before it goes.
      {"controls made and released", 0, 1, 200, [&](int i) { makeAndRelease(i, i % 6 == 0); }, 34},
      {"controls released with the drop-down open", 0, 1, 20, [&](int i) { makeAndRelease(i * 6, true); }, 20},
      {"paints of a spin control in the second theme", 2, 2, 100, [&](int) { PaintOnce(); }, 0},
      {"resizes in the second theme", 0, 2, 50,
       [&](int i) { SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 102 + i % 2, 20, SWP_NOMOVE | SWP_NOZORDER); }, 0},
      {"colour requests with a new colour each", 0, 1, 2000,
       [&](int i) {
         // A DC held across the other rows would make the platform cache more of its own.
         CClientDC dc(Ctl->Edit.m_hWnd);
         Ctl->Edit.SetBackColor(RGB(i & 0xFF, (i >> 8) & 0xFF, 7));
         SendMessageW(Ctl->m_hWnd, i % 2 ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                      reinterpret_cast<LPARAM>(Ctl->Edit.m_hWnd));
       },
       0},
      {"spin held through its repeat and released", 2, 1, 50,
       [&](int) {
         SendMouse(WM_LBUTTONDOWN, 130, 5, MK_LBUTTON);
         SendMessageW(Ctl->m_hWnd, WM_TIMER, 111, 0);
         SendMessageW(Ctl->m_hWnd, WM_TIMER, 112, 0);
         SendMouse(WM_LBUTTONUP, 130, 5);
       },
       0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Fresh();
    CColorMgr::getInstance()->SetColorTheme(r.theme);
    PutLong(L"Style", r.style);
    Create();
    PaintOnce(); // so that the spin button answers
    // One round first: the font manager's fonts and the platform's caches (Wine's DCs
    // among them) are made once, not per repetition; a second round must add nothing.
    for (int i = 0; i < r.times; ++i) r.once(i);
    Pump();
    const DWORD user = handlecount::UserObjects(), gdi = handlecount::GdiObjects();
    for (int i = 0; i < r.times; ++i) r.once(i);
    Pump();
    EXPECT_EQ(handlecount::UserObjects(), user);
    EXPECT_EQ(static_cast<long>(handlecount::GdiObjects()) - static_cast<long>(gdi),
              r.dropDownsGone * platformFontPerDropDown);
    EXPECT_EQ(FindCalendarHookRecord(), nullptr) << "a drop-down's hooks outlived it";
    // Killing answers whether the timer was still there.
    EXPECT_FALSE(KillTimer(Ctl->m_hWnd, 111));
    EXPECT_FALSE(KillTimer(Ctl->m_hWnd, 112));
  }
}
