// The left mouse button on the arrow and spin buttons: the arrow toggles the drop-down,
// a spin half steps once on the press and then repeats while it is held.
#include "CalendarCtl.h"
#include "Formats.h"

namespace {
// Delay before the repeat starts, then the repeat itself.
const UINT_PTR kRepeatDelayTimer = 111;
const UINT_PTR kRepeatTimer = 112;
const UINT kRepeatDelayMs = 500;
const UINT kRepeatMs = 100;
} // namespace

BOOL CCalendarCtl::CheckInSpinUpRect(POINT point) {
  CRect upper = ButtonRect;
  upper.bottom = ButtonRect.bottom - (ButtonRect.bottom - ButtonRect.top) / 2;
  return upper.PtInRect(point);
}

void CCalendarCtl::OnLButtonDown(UINT nFlags, CPoint point) {
  if (Enabled && Visible && RunForm) RunForm->SetFocusToForm(this, m_hWnd);
  bool onButton = ButtonRect.PtInRect(point);
  if (!onButton) CBaseCtl::OnLButtonDown(nFlags, point);
  if (!Enabled || !onButton) return;

  if (tamvero::HasDropDownButton(Style)) {
    // The drop-down changes at the press; the release only ends the pressed look.
    SendMessage(CalendarVisible ? WM_CALENDAR_HIDE : WM_CALENDAR_SHOW, 0, 0);
    InvalidateRect(&ButtonRect, TRUE);
    ::SetCapture(m_hWnd);
    ButtonPressed = TRUE;
  } else if (tamvero::HasSpinButton(Style)) {
    BOOL up = CheckInSpinUpRect(point);
    SpinUpPressed = up;
    SpinDownPressed = !up;
    ButtonPressed = TRUE;
    PointerInButton = TRUE;
    OnGetPrevORNextDate(0, up);
    ::SetCapture(m_hWnd);
    RepeatDelayTimer.Set(m_hWnd, kRepeatDelayTimer, kRepeatDelayMs);
    InvalidateRect(&ButtonRect, TRUE);
  }
}

void CCalendarCtl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kRepeatDelayTimer) {
    RepeatDelayTimer.Kill();
    if (ButtonPressed) {
      RepeatTimer.Set(m_hWnd, kRepeatTimer, kRepeatMs);
      RepeatStarted = TRUE;
      if (PointerInButton) OnGetPrevORNextDate(0, SpinUpPressed);
    }
  } else if (nIDEvent == kRepeatTimer) {
    if (ButtonPressed && PointerInButton) OnGetPrevORNextDate(0, SpinUpPressed);
  }
  Default();
}

void CCalendarCtl::OnMouseMove(UINT, CPoint point) {
  if (ButtonRect.PtInRect(point)) {
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    HWND under = ::WindowFromPoint(screen);
    if (under == m_hWnd) {
      if (!LeaveTracking) {
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
        ArrowHot = TRUE;
        LeaveTracking = TRUE;
        Invalidate(TRUE);
      }
    } else {
      // Something lies over the button, the open drop-down for one.
      ArrowHot = FALSE;
    }
    if (SpinUpPressed || SpinDownPressed) PointerInButton = TRUE;
  }
  Default();
}

LRESULT CCalendarCtl::OnMouseLeave(WPARAM, LPARAM) {
  LeaveTracking = FALSE;
  ArrowHot = FALSE;
  Invalidate(TRUE);
  // Leaving the window stops the repeat until the pointer comes back over the button.
  PointerInButton = FALSE;
  SpinUpPressed = FALSE;
  SpinDownPressed = FALSE;
  return 1;
}

void CCalendarCtl::OnLButtonUp(UINT, CPoint point) {
  Default();
  if (SpinUpPressed || SpinDownPressed) {
    SpinUpPressed = FALSE;
    SpinDownPressed = FALSE;
    if (ButtonPressed) {
      if (RepeatStarted) {
        RepeatTimer.Kill();
        RepeatStarted = FALSE;
      }
      Invalidate(TRUE);
      ::ReleaseCapture();
    }
  }
  ButtonPressed = FALSE;
  if (::GetCapture() == m_hWnd) {
    ::ReleaseCapture();
    // A press on the arrow released outside the control, over the drop-down too, closes it.
    if (Enabled && tamvero::HasDropDownButton(Style) && !GetClientRect().PtInRect(point) && CalendarVisible)
      SendMessage(WM_CALENDAR_HIDE, 0, 0);
  }
  InvalidateRect(&ButtonRect, TRUE);
}
