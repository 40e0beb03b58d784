// Temporary stand-ins for the date library's members until it lands.
#include "CalendarCtl.h"
#include "Pending.h"
#include "CalendarWnd.h"

namespace tamvero {
__time64_t ClockNow() { return _time64(nullptr); }
bool ClockLocalTime(__time64_t t, struct tm& out) { return _localtime64_s(&out, &t) == 0; }
} // namespace tamvero

void CCalendarCtl::OnDateFormatChanged() { BoundPropertyChanged(7); }
void CCalendarCtl::OnTimeFormatChanged() { BoundPropertyChanged(16); }
CString CCalendarCtl::GetExceptDateFormatString(LPCWSTR text) { return CString(text); }
void CCalendarCtl::CheckDataFormat() {}
void CCalendarCtl::DisplayDate(int&, int&, int&) {}
void CCalendarCtl::DisplayTime(int&, int&, int&) {}
void CCalendarCtl::SetInitDate() {}
void CCalendarCtl::SetInitTime() {}
CString CCalendarCtl::GetAutoSaveValue() { return Caption; }
void CCalendarCtl::SetAutoSaveValue(LPCWSTR) {}
BOOL CCalendarCtl::GetCurInputDate(int&, int&, int&) { return FALSE; }
BOOL CCalendarCtl::GetCurInputTime(int&, int&, int&) { return FALSE; }
BOOL CCalendarCtl::DateCheck(const int&, const int&, const int&) { return FALSE; }
BOOL CCalendarCtl::TimeCheck(const int&, const int&, const int&) { return FALSE; }
BOOL CCalendarCtl::SetDateRange() { return FALSE; }
BOOL CCalendarCtl::IsInputDigit(const wchar_t*, short) { return FALSE; }
CString CCalendarCtl::GetComputedDateEx(short, short, short) { return CString(); }
CString CCalendarCtl::GetComputedTimeEx(short, short, short) { return CString(); }
BSTR CCalendarCtl::GetComputedDate(short a, short b, short c) { return GetComputedDateEx(a, b, c).AllocSysString(); }
BSTR CCalendarCtl::GetComputedTime(short a, short b, short c) { return GetComputedTimeEx(a, b, c).AllocSysString(); }
HRESULT CCalendarCtl::GetBaseComputedDate(LPCWSTR, short, short, short, BSTR* result) {
  *result = SysAllocString(L"");
  return S_OK;
}
CString CCalendarCtl::GetComputedMonth(int&, int&, short) { return CString(); }
int CCalendarCtl::GetPrevNextComputedTime(short, short, short, int&) { return 0; }
LONG CCalendarCtl::OnGetPrevORNextDate(UINT, LONG) { return 0; }
short CCalendarCtl::SetValue(LONG_PTR) { return 0; }
BSTR CCalendarCtl::GetValue() { return Caption.AllocSysString(); }
BOOL CCalendarCtl::GetCurDate(VARIANT*, VARIANT*, VARIANT*) { return FALSE; }

