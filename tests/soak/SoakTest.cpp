// Long runs of what a form does all day: controls made and destroyed by the thousand, a
// drop-down opened and closed by the thousand. Windows and GDI objects come back to
// exactly where they were; private bytes stay within what the heap keeps for reuse.
#include "TestHost.h"

#include "CalendarWnd.h"
#include "HandleCount.h"
#include "fxhandle.h"
#include "fxwnd.h"

#include <functional>

using namespace testhost;

namespace {

struct Reading {
  DWORD windows, gdi;
  SIZE_T bytes;
};

Reading Read() {
  Pump();
  return {handlecount::UserObjects(), handlecount::GdiObjects(), handlecount::PrivateBytes()};
}

// A leak of even 64 bytes a cycle would pass this over the measured cycles.
const SIZE_T kHeapSlack = 256 * 1024;

} // namespace

class Soak : public ControlFixture {
protected:
  // Runs `warm` cycles, reads, runs `cycles` more and checks that nothing grew beyond
  // `platformBytes`, what the platform itself keeps over as many cycles of its own windows.
  void Flat(int warm, int cycles, const std::function<void(int)>& once, SIZE_T platformBytes = 0, DWORD gdiSlack = 0) {
    for (int i = 0; i < warm; ++i) once(i);
    const Reading before = Read();
    ASSERT_GT(before.bytes, 0u);
    for (int i = 0; i < cycles; ++i) once(warm + i);
    const Reading after = Read();
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LE(after.gdi, before.gdi + gdiSlack);
    EXPECT_GE(after.gdi, before.gdi);
    EXPECT_LE(after.bytes, before.bytes + platformBytes + kHeapSlack)
        << "private bytes grew by " << (after.bytes - before.bytes) << ", the platform's own windows by "
        << platformBytes;
    EXPECT_EQ(FindCalendarHookRecord(), nullptr) << "a drop-down's hooks outlived it";
  }

  // What the same number of bare child windows, each with an EDIT typed into and painted,
  // leave in private bytes: the window manager's own share of a window's life.
  SIZE_T PlatformGrowth(int warm, int cycles) {
    auto once = [&](int i) {
      CWnd bare;
      bare.CreateSystem(L"STATIC", 0, L"", WS_CHILD | WS_VISIBLE, RECT{0, 30, 120, 52}, FormWindow(), 0);
      HWND edit =
          CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 2, 2, 116, 18, bare, nullptr, nullptr, nullptr);
      SetWindowTextW(edit, L"2024-01-05");
      if (i % 2) SendMessageW(edit, WM_CHAR, L'1', 1);
      UpdateWindow(bare);
      if (i % 100 == 0) Pump();
    };
    for (int i = 0; i < warm; ++i) once(i);
    const SIZE_T before = Read().bytes;
    for (int i = 0; i < cycles; ++i) once(i);
    const SIZE_T after = Read().bytes;
    return after > before ? after - before : 0;
  }
};

// Wine's DC cache takes the odd object as windows come and go (one over 9,000 controls
// here); a control that leaked would leave at least one a cycle.
const DWORD kWineDcSlack = 4;

TEST_F(Soak, TenThousandControlsMadeShownPaintedAndDestroyedLeaveNothingBehind) {
  Create();
  // A third as many of the platform's own windows, scaled up, keeps the run short.
  const SIZE_T platform = 3 * PlatformGrowth(500, 3000);
  // Every style and appearance, half of them typed into, each painted as a form shows it.
  Flat(
      1000, 9000,
      [&](int i) {
        CCalendarCtl* c = AllocRunDllControl();
        c->Style = static_cast<short>(i % 6);
        c->AppearanceStyle = static_cast<short>(i % 3);
        c->SetRunMode(TRUE);
        c->SetRunFormDispatch(Form, FormWindow(), 0, 0);
        ASSERT_TRUE(c->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 30, 120, 52), FormWindow(), 300 + i % 100));
        UpdateWindow(c->m_hWnd);
        if (i % 2) SendMessageW(c->Edit.m_hWnd, WM_CHAR, L'1', 1);
        c->ExternalRelease();
        if (i % 100 == 0) {
          Pump();
          Form->TakeCalls(); // the recording form's log is the test's, not the control's
        }
      },
      platform, kWineDcSlack);
}

namespace {
LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

TEST_F(Soak, AThousandDropDownsOpenedAndClosedLeaveNothingBehind) {
  // The platform's own share: a month calendar popup shown and hidden as many times, with
  // thread hooks set and removed around it as the drop-down does.
  SIZE_T platform = 0;
  {
    CWnd raw;
    ASSERT_TRUE(raw.CreateSystem(MONTHCAL_CLASSW, 0, L"", WS_POPUP | WS_BORDER, RECT{0, 0, 200, 160}, FormWindow(), 0));
    auto rawOnce = [&] {
      SetWindowPos(raw, HWND_TOPMOST, 10, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
      CHookHandle k(SetWindowsHookExW(WH_KEYBOARD, PassOn, nullptr, GetCurrentThreadId()));
      CHookHandle m(SetWindowsHookExW(WH_MOUSE, PassOn, nullptr, GetCurrentThreadId()));
      Pump();
      raw.ShowWindow(SW_HIDE);
    };
    for (int i = 0; i < 100; ++i) rawOnce();
    const SIZE_T raw0 = Read().bytes;
    for (int i = 0; i < 1000; ++i) rawOnce();
    const SIZE_T raw1 = Read().bytes;
    platform = raw1 > raw0 ? raw1 - raw0 : 0;
  }

  Create();
  UpdateWindow(Ctl->m_hWnd);
  // Closed by Escape, by Enter and by the control itself, as the arrow and a click outside do.
  // Wine keeps a few more cached DCs for the popup as it goes (3 over the run here); a
  // drop-down that leaked would leave at least one object a cycle.
  const DWORD kDropDownGdiSlack = 10;
  Flat(
      100, 1000,
      [&](int i) {
        ASSERT_EQ(Ctl->SendMessage(WM_CALENDAR_SHOW, 0, 0), 1);
        ASSERT_TRUE(Ctl->IsCalendarVisible());
        Pump();
        switch (i % 3) {
        case 0:
          SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
          break;
        case 1:
          SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
          break;
        default:
          Ctl->SendMessage(WM_CALENDAR_HIDE, 0, 0);
          break;
        }
        ASSERT_FALSE(Ctl->IsCalendarVisible());
        if (i % 100 == 0) {
          Form->TakeCalls(); // the recorders' logs are the test's, not the control's
          Rec.Events.Take();
        }
      },
      platform, kDropDownGdiSlack);
}
