// CCalendarWnd: the drop-down month calendar of the date styles, a popup of the system
// month-calendar class, and the watchers that close it when the user works elsewhere.
#pragma once

#include "TamveroApi.h"
#include "fxhandle.h"
#include "fxwnd.h"

class CCalendarCtl;

class TAMVERO_API CCalendarWnd : public CMonthCalCtrl {
public:
  CCalendarWnd() = default;
  ~CCalendarWnd() override;

  CCalendarCtl* OwnerCtl = nullptr;
  int LastSelYear = 0;
  int LastSelMonth = 0;
  int LastSelDay = 0;

  // Ends this drop-down for its control: deleted at once, or, while the calendar is still
  // inside the notification whose handler asked for it, hidden, cut from its control and
  // deleted once the calendar has returned.
  void Retire();
  bool IsNotifying() const { return m_notifying > 0 || InUse(); }

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
  // Notifications of this calendar still running, so that it is not deleted under them.
  int m_notifying = 0;
  void OnNcPaint();
  void OnSelChange(const SYSTEMTIME& start);
  void OnSelect(const SYSTEMTIME& start);
};

// One record of watchers per thread: the hooks and the drop-down they close.
struct CalendarHookRecord {
  CHookHandle KeyboardHook;
  HWND CtlHwnd = nullptr;
  CHookHandle MouseHook;
  HWND CalendarHwnd = nullptr;
};

// The current thread's watchers, or null when none are installed.
TAMVERO_API const CalendarHookRecord* FindCalendarHookRecord();
// The drop-down that is open and its control, for hosts that keep one drop-down per form;
// both null when none is open.
TAMVERO_API CCalendarWnd* GetOpenCalendarWnd();
TAMVERO_API CCalendarCtl* GetOpenCalendarCtl();

// Deletes the drop-downs retired while they were busy (at unload, or when a test wants
// them gone at once); the thread's message loop does this by itself otherwise.
TAMVERO_API void DeleteRetiredCalendars();

// The process's record of the open drop-down and the thread's watchers is kept here
// alone; these two are the only ways to change it.
// Records wnd, the drop-down of ctl, as the open one and installs this thread's watchers
// for it (the record stays without watchers when the system refuses them).
void MarkCalendarShown(CCalendarCtl* ctl, CCalendarWnd* wnd);
// Forgets the open drop-down and removes this thread's watchers, unless the drop-down of
// another control than ctl (and another window than wnd) has opened since.
void MarkCalendarHidden(const CCalendarCtl* ctl, const CCalendarWnd* wnd);
