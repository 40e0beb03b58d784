// Pending: the drop-down month calendar.
#include "CalendarCtl.h"
#include "CalendarWnd.h"

BOOL CCalendarCtl::GetCurSelectedDate(int&, int&, int&) { return FALSE; }
void CCalendarCtl::SendToMainIsShowList(BOOL) {}
CWnd* CCalendarCtl::GetCalendarWndPtr() const { return CalendarWnd; }
void CCalendarCtl::SetDateToCalendarWnd() {}
LRESULT CCalendarCtl::OnShowCarendar(WPARAM, LPARAM) { return 0; }
LRESULT CCalendarCtl::OnHideCarendar(WPARAM, LPARAM) { return 0; }
LRESULT CCalendarCtl::OnControlListBoxShow(WPARAM, LPARAM) { return 0; }
void CCalendarCtl::CreateCalendarWnd() {}
CCalendarWnd::~CCalendarWnd() {}
LRESULT CCalendarWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CMonthCalCtrl::WindowProc(msg, wParam, lParam);
}
BOOL CCalendarWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }
void RemoveCalendarHooks() {}

