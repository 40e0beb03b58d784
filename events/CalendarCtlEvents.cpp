// The single entry for the children's notifications, the event dispatcher with the
// form's right to take EditFull and SelSelected, and the focus chain.
#include "CalendarCtl.h"
#include "Formats.h"

#include "CalendarWnd.h"
#include "Gresko.h"

void CCalendarCtl::FireEditFull() { FireEvent(EVENT_EditFull, VTS_NONE); }
void CCalendarCtl::FireEditEnter() { FireEvent(EVENT_EditEnter, VTS_NONE); }
void CCalendarCtl::FireSetFocus() { FireEvent(EVENT_SetFocus, VTS_NONE); }
void CCalendarCtl::FireKillFocus() { FireEvent(EVENT_KillFocus, VTS_NONE); }
void CCalendarCtl::FireSelChange() { FireEvent(EVENT_SelChange, VTS_NONE); }
void CCalendarCtl::FireSelSelected() { FireEvent(EVENT_SelSelected, VTS_NONE); }
void CCalendarCtl::FireEditChange() { FireEvent(EVENT_EditChange, VTS_NONE); }
void CCalendarCtl::FireReceiveError(VARIANT* nVarLeave) { FireEvent(EVENT_ReceiveError, VTS_PVARIANT, nVarLeave); }

void CCalendarCtl::OfferThenFire(DISPID id) {
  if (RunForm && RunForm->GetBaseCtlBitInfo(FORM_TAKES_EVENTS) &&
      RunForm->OnFormFireEventSend(this, id, 0, 0, 0, CString(Caption)) == 1)
    return;
  FireEvent(id, VTS_NONE);
}

LRESULT CCalendarCtl::OnFireCalendarEvent(WPARAM wParam, LPARAM) {
  switch (static_cast<int>(wParam)) {
  case CODE_INPUT_FULL:
    FireEventBrokeOut(BROKE_EditFull);
    break;
  case CODE_ENTER:
    if (EventsEnabled) FireEvent(EVENT_EditEnter, VTS_NONE);
    break;
  case CODE_FOCUS_IN:
    if (EventsEnabled) FireEvent(EVENT_SetFocus, VTS_NONE);
    break;
  case CODE_FOCUS_OUT:
    // Fires KillFocus and closes an open drop-down, as the dispatcher's KillFocus does.
    FireEventBrokeOut(BROKE_KillFocus);
    break;
  case CODE_SEL_CHANGED:
    if (tamvero::IsDateStyle(Style) && EventsEnabled) FireEvent(EVENT_SelChange, VTS_NONE);
    break;
  case CODE_DAY_PICKED:
    if (tamvero::IsDateStyle(Style) && EventsEnabled) OfferThenFire(EVENT_SelSelected);
    break;
  case CODE_TEXT_CHANGED:
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
  case BROKE_EditChange:
    FireEvent(EVENT_EditChange, VTS_NONE);
    break;
  case BROKE_EditFull:
    OfferThenFire(EVENT_EditFull);
    // The entry is complete: move on whether or not the form took the event.
    SetNextFocus(FALSE);
    break;
  case BROKE_EditEnter:
    FireEvent(EVENT_EditEnter, VTS_NONE);
    break;
  case BROKE_KillFocus:
    FireEvent(EVENT_KillFocus, VTS_NONE);
    // Closed without telling the form and without taking the focus back.
    if (CalendarWnd && CalendarWnd->m_hWnd && CalendarWnd->IsWindowVisible()) HideCalendarWnd();
    break;
  case BROKE_SetFocus:
    FireEvent(EVENT_SetFocus, VTS_NONE);
    break;
  case BROKE_SelChange:
    FireEvent(EVENT_SelChange, VTS_NONE);
    break;
  case BROKE_SelSelected:
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
  if (!RunForm || RunForm->GetBaseCtlBitInfo(FORM_BLOCKS_FOCUS)) return;
  if (!NextFocusCtrlName.IsEmpty() && !bIgnoreName) {
    RunForm->SetPreNextFocusToForm(FOCUS_NAMED, this, m_hWnd, NextFocusCtrlName);
    return;
  }
  if (RunForm->SetPropertyLong(FPI_MAY_MOVE_FOCUS, 0)) RunForm->SetPreNextFocusToForm(FOCUS_NEXT, this, m_hWnd, L"");
}

void CCalendarCtl::SetPreFocus() {
  if (!GetBPossibleChangeFocus()) return;
  if (!RunForm || RunForm->GetBaseCtlBitInfo(FORM_BLOCKS_FOCUS)) return;
  if (RunForm->SetPropertyLong(FPI_MAY_MOVE_FOCUS, 0))
    RunForm->SetPreNextFocusToForm(FOCUS_PREVIOUS, this, m_hWnd, L"");
}

void CCalendarCtl::InformSetFocus() {
  if (Enabled && Visible && RunForm) RunForm->SetFocusToForm(this, m_hWnd);
}

LRESULT CCalendarCtl::OnJTEvent(WPARAM wParam, LPARAM) {
  switch (HIWORD(wParam)) {
  case JT_NEXT_CONTROL:
    SetNextFocus(FALSE);
    break;
  case JT_PREVIOUS_CONTROL:
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
