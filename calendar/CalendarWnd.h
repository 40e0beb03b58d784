// CCalendarWnd: the drop-down month calendar of the date styles, a popup of the system
// month-calendar class, and the watchers that close it when the user works elsewhere.
#pragma once

#include "TamveroApi.h"
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

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
  void OnNcPaint();
  void OnSelChange(const SYSTEMTIME& start);
  void OnSelect(const SYSTEMTIME& start);
};

// One record of watchers per thread.
struct CalendarHookRecord {
  HHOOK KeyboardHook = nullptr;
  HWND CtlHwnd = nullptr;
  HHOOK MouseHook = nullptr;
  HWND CalendarHwnd = nullptr;
};

// The current thread's watchers, or null when none are installed.
TAMVERO_API CalendarHookRecord* FindCalendarHookRecord();
// The drop-down that is open and its control, for hosts that keep one drop-down per form;
// both null when none is open.
TAMVERO_API CCalendarWnd* GetOpenCalendarWnd();
TAMVERO_API CCalendarCtl* GetOpenCalendarCtl();

// Installs the current thread's watchers unless it has them; null when the system refuses.
CalendarHookRecord* InstallCalendarHooks();
// Removes the current thread's watchers, if any.
void RemoveCalendarHooks();
LRESULT CALLBACK CalendarKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CalendarMouseProc(int nCode, WPARAM wParam, LPARAM lParam);
