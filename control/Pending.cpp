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

// Drop-down, painting and pointer: pending.
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

void CCalendarCtl::OnPaint() {
  CPaintDC dc(m_hWnd);
  if (IsWindowVisible()) OnDraw(&dc, GetClientRect(), GetClientRect());
}
void CCalendarCtl::OnDraw(CDC* pDC, const CRect& rcBounds, const CRect&) {
  if (!RedrawEnabled) return;
  pDC->FillSolidRect(rcBounds, BackColor);
}
void CCalendarCtl::OnSize(UINT, int cx, int cy) {
  Default();
  ClientWidth = static_cast<short>(cx);
  ClientHeight = static_cast<short>(cy);
  if (Edit.m_hWnd) ChangeEditPosition();
}
void CCalendarCtl::ChangeEditPosition() {
  if (!Edit.m_hWnd) return;
  ::SetWindowPos(Edit.m_hWnd, nullptr, 5, 2, ClientWidth - 7, ClientHeight - 4, SWP_SHOWWINDOW | SWP_NOZORDER);
}
void CCalendarCtl::FontChange() {}
void CCalendarCtl::ColorChange() {}
void CCalendarCtl::DrawBoarder(CDC*, CRect&) {}
CRect CCalendarCtl::DrawArrowButton(CDC*, CRect& r) { return r; }
CRect CCalendarCtl::DrawSpinButton(CDC*, CRect&) { return CRect(); }
void CCalendarCtl::DrawAppearanceStyle(CDC*, const CRect&) {}
BOOL CCalendarCtl::CheckInSpinUpRect(POINT) { return FALSE; }
void CCalendarCtl::OnMouseMove(UINT, CPoint) { Default(); }
void CCalendarCtl::OnLButtonDown(UINT nFlags, CPoint point) { CBaseCtl::OnLButtonDown(nFlags, point); }
void CCalendarCtl::OnLButtonUp(UINT, CPoint) { Default(); }
void CCalendarCtl::OnTimer(UINT_PTR) { Default(); }
LRESULT CCalendarCtl::OnMouseLeave(WPARAM, LPARAM) { return 1; }

// Form protocol: pending.
void CCalendarCtl::Serialize(CArchive&) {}
long CCalendarCtl::GetPropertyLong(int) { return 0; }
long CCalendarCtl::SetPropertyLong(int, int) { return 1; }
CString CCalendarCtl::GetPropertyString(int) { return CString(); }
CString CCalendarCtl::GetMethodString(int, CString) { return CString(); }
int CCalendarCtl::SetMethodString(int, CString, CString, long) { return 1; }
CString CCalendarCtl::GetCommValue(int& nType, CString&, int) {
  nType = 0;
  return CString();
}
void CCalendarCtl::SetRunFormDispatch(CBaseCtl* pForm, HWND, int, int) { RunForm = pForm; }
void CCalendarCtl::SetResizeControl(float x, float y, int) {
  ScaleX = x;
  ScaleY = y;
}
void CCalendarCtl::OnLangageModeChange(WORD) {}
