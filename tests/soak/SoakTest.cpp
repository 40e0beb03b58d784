// What a form does all day, each piece of work repeated after a warm-up round: controls
// made and destroyed by the thousand, drop-downs opened and closed, paints and resizes,
// dates typed record after record. Windows, GDI objects and drop-down hooks come back to
// exactly where they were, less what the platform itself keeps (measured beside them);
// private bytes stay within what the heap keeps. (Colour brushes and spin timers are
// counted by the field's and the pointer's own tests.)
#include "TestHost.h"

#include "CalendarWnd.h"
#include "HandleCount.h"
#include "Tondril.h"
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

// Private bytes that `cycles` runs of the platform's own work leave, after `warm` runs.
SIZE_T PlatformGrowth(int warm, int cycles, const std::function<void(int)>& once) {
  for (int i = 0; i < warm; ++i) once(i);
  const SIZE_T before = Read().bytes;
  for (int i = 0; i < cycles; ++i) once(i);
  const SIZE_T after = Read().bytes;
  return after > before ? after - before : 0;
}

LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A leak of even 64 bytes a cycle would pass this over the longest runs.
const SIZE_T kHeapSlack = 256 * 1024;

} // namespace

class Soak : public ControlFixture {};

TEST_F(Soak, RepeatedWorkLeavesNoWindowGdiObjectHookOrMemoryBehind) {
  Create();
  // The counters see one more window and one more brush, so they can catch a leak.
  {
    const DWORD user0 = handlecount::UserObjects(), gdi0 = handlecount::GdiObjects();
    CWnd probe;
    probe.CreateSystem(L"STATIC", 0, L"", WS_CHILD, CRect(0, 0, 1, 1), FormWindow(), 0);
    CBrush brush(RGB(1, 2, 3));
    EXPECT_EQ(handlecount::UserObjects(), user0 + 1);
    EXPECT_EQ(handlecount::GdiObjects(), gdi0 + 1);
    ASSERT_GT(handlecount::PrivateBytes(), 0u);
  }
  // The platform's own share. Wine's month calendar keeps one font per WM_SETFONT after it
  // is destroyed.
  const DWORD raw0 = handlecount::GdiObjects();
  {
    CWnd raw;
    raw.CreateSystem(MONTHCAL_CLASSW, 0, L"", WS_POPUP, CRect(0, 0, 0, 0), FormWindow(), 0);
    raw.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  const long fontPerDropDownGone = static_cast<long>(handlecount::GdiObjects()) - static_cast<long>(raw0);
  // Bare child windows, each with an EDIT typed into and painted (a third as many, scaled
  // up, keeps the run short).
  const SIZE_T bareWindows =
      3 * PlatformGrowth(500, 3000, [&](int i) {
        CWnd bare;
        bare.CreateSystem(L"STATIC", 0, L"", WS_CHILD | WS_VISIBLE, RECT{0, 30, 120, 52}, FormWindow(), 0);
        HWND edit =
            CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 2, 2, 116, 18, bare, nullptr, nullptr, nullptr);
        SetWindowTextW(edit, L"2024-01-05");
        if (i % 2) SendMessageW(edit, WM_CHAR, L'1', 1);
        UpdateWindow(bare);
        if (i % 100 == 0) Pump();
      });
  // A month calendar popup shown and hidden, with thread hooks set and removed around it
  // as the drop-down does.
  SIZE_T popups = 0;
  {
    CWnd raw;
    ASSERT_TRUE(raw.CreateSystem(MONTHCAL_CLASSW, 0, L"", WS_POPUP | WS_BORDER, RECT{0, 0, 200, 160}, FormWindow(), 0));
    popups = PlatformGrowth(100, 1000, [&](int) {
      SetWindowPos(raw, HWND_TOPMOST, 10, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
      CHookHandle k(SetWindowsHookExW(WH_KEYBOARD, PassOn, nullptr, GetCurrentThreadId()));
      CHookHandle m(SetWindowsHookExW(WH_MOUSE, PassOn, nullptr, GetCurrentThreadId()));
      Pump();
      raw.ShowWindow(SW_HIDE);
    });
  }

  // Every style and appearance, half of them typed into, each painted as a form shows it.
  auto makeAndRelease = [&](int i, bool open) {
    CCalendarCtl* c = AllocRunDllControl();
    c->Style = static_cast<short>(i % 6);
    c->AppearanceStyle = static_cast<short>(i % 3);
    c->SetRunMode(TRUE);
    c->SetRunFormDispatch(Form, FormWindow(), 0, 0);
    ASSERT_TRUE(c->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 30, 120, 52), FormWindow(), 300 + i % 100));
    UpdateWindow(c->m_hWnd);
    if (i % 2) SendMessageW(c->Edit.m_hWnd, WM_CHAR, L'1', 1);
    if (open) c->SendMessage(WM_CALENDAR_SHOW, 0, 0);
    c->ExternalRelease();
  };
  struct Row {
    const char* name;
    short style;
    int theme, warm, times;
    std::function<void(int)> once;
    SIZE_T platformBytes;
    long dropDownsGone; // month calendars destroyed over the measured repetitions
    DWORD gdiSlack;     // what Wine's DC cache takes as windows come and go; a leak is one a cycle
  };
  const Row rows[] = {
      {"controls made, shown, painted and destroyed", 0, 1, 1000, 9000, [&](int i) { makeAndRelease(i, false); },
       bareWindows, 0, 4},
      {"controls released with the drop-down open", 0, 1, 20, 20, [&](int i) { makeAndRelease(i * 6, true); }, 0, 20,
       0},
      {"drop-downs opened and closed by Escape, by Enter and by the control", 0, 1, 100, 1000,
       [&](int i) {
         ASSERT_EQ(Ctl->SendMessage(WM_CALENDAR_SHOW, 0, 0), 1);
         ASSERT_TRUE(Ctl->IsCalendarVisible());
         Pump();
         if (i % 3 == 2)
           Ctl->SendMessage(WM_CALENDAR_HIDE, 0, 0);
         else
           SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, i % 3 ? VK_RETURN : VK_ESCAPE, 1);
         ASSERT_FALSE(Ctl->IsCalendarVisible());
       },
       popups, 0, 10},
      {"resizes and paints of a spin control in the second theme", 2, 2, 100, 100,
       [&](int i) {
         SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 140 + i % 2, 22, SWP_NOMOVE | SWP_NOZORDER);
         RedrawWindow(Ctl->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
       },
       0, 0, 0},
      {"dates typed record after record", 0, 1, 3000, 10000,
       [&](int i) {
         if (i % 8 == 0) Ctl->SetMethodString(FMI_CLEAR_VALUE, L"", L"", 0);
         SendMessageW(Ctl->Edit.m_hWnd, WM_CHAR, L"20240315"[i % 8], 1);
       },
       0, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Fresh();
    CColorMgr::getInstance()->SetColorTheme(r.theme);
    ASSERT_EQ(PutLong(L"Style", r.style), S_OK);
    Create();
    // The recorders' logs are the test's, not the control's.
    auto run = [&](int from, int count) {
      for (int i = from; i < from + count; ++i) {
        r.once(i);
        if (i % 100 == 0) {
          Pump();
          Form->Calls.clear();
          Rec.Events.clear();
        }
      }
    };
    // The warm-up makes the font manager's fonts and the platform's caches once.
    run(0, r.warm);
    const Reading before = Read();
    run(r.warm, r.times);
    const Reading after = Read();
    EXPECT_EQ(after.windows, before.windows);
    const DWORD platformGdi = static_cast<DWORD>(r.dropDownsGone * fontPerDropDownGone);
    EXPECT_GE(after.gdi, before.gdi + platformGdi);
    EXPECT_LE(after.gdi, before.gdi + platformGdi + r.gdiSlack);
    EXPECT_LE(after.bytes, before.bytes + r.platformBytes + kHeapSlack)
        << "private bytes grew by " << (after.bytes - before.bytes) << ", the platform's own work by "
        << r.platformBytes;
    EXPECT_EQ(FindCalendarHookRecord(), nullptr) << "a drop-down's hooks outlived it";
  }
  CColorMgr::getInstance()->SetColorTheme(1);
}
