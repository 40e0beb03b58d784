// The single entry for the children's notifications, the event dispatcher with the
// form's right to take EditFull and SelSelected, and the focus chain.
#include "CalendarCtl.h"

#include "CalendarWnd.h"
#include "Gresko.h"

namespace {
bool IsDateStyleCode(int style) { return style == 0 || style == 2 || style == 3; }
const DWORD kFormTakesEvents = 0x20000000;
const DWORD kFormBlocksFocus = 0x40000000;
} // namespace

void CCalendarCtl::FireEditFull() { FireEvent(EVENT_EditFull, VTS_NONE); }
void CCalendarCtl::FireEditEnter() { FireEvent(EVENT_EditEnter, VTS_NONE); }
void CCalendarCtl::FireSetFocus() { FireEvent(EVENT_SetFocus, VTS_NONE); }
void CCalendarCtl::FireKillFocus() { FireEvent(EVENT_KillFocus, VTS_NONE); }
void CCalendarCtl::FireSelChange() { FireEvent(EVENT_SelChange, VTS_NONE); }
void CCalendarCtl::FireSelSelected() { FireEvent(EVENT_SelSelected, VTS_NONE); }
void CCalendarCtl::FireEditChange() { FireEvent(EVENT_EditChange, VTS_NONE); }
void CCalendarCtl::FireReceiveError(VARIANT* nVarLeave) { FireEvent(EVENT_ReceiveError, VTS_PVARIANT, nVarLeave); }

void CCalendarCtl::OfferThenFire(DISPID id) {
  if (RunForm && RunForm->GetBaseCtlBitInfo(kFormTakesEvents) &&
      RunForm->OnFormFireEventSend(this, id, 0, 0, 0, CString(Caption)) == 1)
    return;
  FireEvent(id, VTS_NONE);
}

LRESULT CCalendarCtl::OnFireCalendarEvent(WPARAM wParam, LPARAM) {
  switch (static_cast<int>(wParam)) {
  case 0:
    FireEventBrokeOut(2);
    break;
  case 1:
    if (EventsEnabled) FireEvent(EVENT_EditEnter, VTS_NONE);
    break;
  case 2:
    if (EventsEnabled) FireEvent(EVENT_SetFocus, VTS_NONE);
    break;
  case 3:
    // Fires KillFocus and closes an open drop-down, as the dispatcher's code 4 does.
    FireEventBrokeOut(4);
    break;
  case 4:
    if (IsDateStyleCode(Style) && EventsEnabled) FireEvent(EVENT_SelChange, VTS_NONE);
    break;
  case 5:
    if (IsDateStyleCode(Style) && EventsEnabled) OfferThenFire(EVENT_SelSelected);
    break;
  case 6:
    if (EventsEnabled) FireEvent(EVENT_EditChange, VTS_NONE);
    break;
  default:
    break;
  }
  return 1;
}

void CCalendarCtl::FireEventBrokeOut(int nCode) {
  if (!EventsEnabled) return;
  switch (nCode) {
  case 1:
    FireEvent(EVENT_EditChange, VTS_NONE);
    break;
  case 2:
    OfferThenFire(EVENT_EditFull);
    // The entry is complete: move on whether or not the form took the event.
    SetNextFocus(FALSE);
    break;
  case 3:
    FireEvent(EVENT_EditEnter, VTS_NONE);
    break;
  case 4:
    FireEvent(EVENT_KillFocus, VTS_NONE);
    // Closed without telling the form and without taking the focus back.
    if (CalendarWnd && CalendarWnd->m_hWnd && CalendarWnd->IsWindowVisible()) HideCalendarWnd();
    break;
  case 6:
    FireEvent(EVENT_SetFocus, VTS_NONE);
    break;
  case 27:
    FireEvent(EVENT_SelChange, VTS_NONE);
    break;
  case 28:
    OfferThenFire(EVENT_SelSelected);
    break;
  default:
    break;
  }
}

// ---- focus chain ------------------------------------------------------------------------

BOOL CCalendarCtl::GetBPossibleChangeFocus() {
  if (!RequireInput) return TRUE;
  CString input = Edit.GetInputData();
  input.Trim();
  input.Remove(L' ');
  return !input.IsEmpty();
}

void CCalendarCtl::SetNextFocus(BOOL bIgnoreName) {
  if (!GetBPossibleChangeFocus()) return;
  if (!RunForm || RunForm->GetBaseCtlBitInfo(kFormBlocksFocus)) return;
  if (!NextFocusCtrlName.IsEmpty() && !bIgnoreName) {
    RunForm->SetPreNextFocusToForm(3, this, m_hWnd, NextFocusCtrlName);
    return;
  }
  if (RunForm->SetPropertyLong(38, 0)) RunForm->SetPreNextFocusToForm(1, this, m_hWnd, L"");
}

void CCalendarCtl::SetPreFocus() {
  if (!GetBPossibleChangeFocus()) return;
  if (!RunForm || RunForm->GetBaseCtlBitInfo(kFormBlocksFocus)) return;
  if (RunForm->SetPropertyLong(38, 0)) RunForm->SetPreNextFocusToForm(0, this, m_hWnd, L"");
}

void CCalendarCtl::InformSetFocus() {
  if (Enabled && Visible && RunForm) RunForm->SetFocusToForm(this, m_hWnd);
}

LRESULT CCalendarCtl::OnJTEvent(WPARAM wParam, LPARAM) {
  switch (HIWORD(wParam)) {
  case 1013:
    SetNextFocus(FALSE);
    break;
  case 1014:
    SetPreFocus();
    break;
  default:
    break;
  }
  return 0;
}

void CCalendarCtl::OnSetFocus(HWND) {
  Default();
  // The control never keeps the focus itself while enabled: the field takes it.
  if (Enabled && Edit.m_hWnd) Edit.SetFocus();
}

void CCalendarCtl::MSetFocus() {
  if (Enabled && Edit.m_hWnd) Edit.SetFocus();
}
