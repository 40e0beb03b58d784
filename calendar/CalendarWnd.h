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
};

// One record of watchers per thread.
struct CalendarHookRecord {
  HHOOK KeyboardHook = nullptr;
  HWND CtlHwnd = nullptr;
  HHOOK MouseHook = nullptr;
  HWND CalendarHwnd = nullptr;
};

// Removes the current thread's watchers, if any.
void RemoveCalendarHooks();
LRESULT CALLBACK CalendarKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CalendarMouseProc(int nCode, WPARAM wParam, LPARAM lParam);
