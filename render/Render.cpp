// Pending: layout, painting and the pointer.
#include "CalendarCtl.h"

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

