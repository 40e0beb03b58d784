// The caption path: the edit's digits become the control's value, a complete date is
// clamped into the range or rolled back, and the host's caption methods.
#include "CalendarCtl.h"
#include "Clock.h"
#include "Formats.h"

LRESULT CCalendarCtl::OnSetCaption(WPARAM wParam, LPARAM) {
  const wchar_t* text = reinterpret_cast<const wchar_t*>(wParam);
  if (!text || Caption == text) return 1;
  Caption = text;
  MirrorOwnText(ReadsNonZero(Caption) ? Caption.GetString() : L"");
  // The field reporting the correction written below: take it as it is, or a bound that
  // does not fit the field's format would be corrected again and again.
  if (m_correcting) return 1;
  if (Caption.GetLength() != DigitCount) return 1;

  if (tamvero::IsDateStyle(Style)) {
    int year = 0, month = 0, day = 0;
    if (GetCurInputDate(year, month, day)) {
      LastValidValue = Caption;
      return 1;
    }
    CString read;
    read.Format(L"%04d%02d%02d", year, month, day);
    // Compare as numbers: beyond a bound snaps to it.
    long long value = _wtoi64(read), end = _wtoi64(EndTime), start = _wtoi64(StartTime);
    const CString* bound = value > end ? &EndTime : value < start ? &StartTime : nullptr;
    if (bound && !bound->IsEmpty()) {
      Caption = BoundInValueForm(*bound);
      MirrorOwnText(Caption);
      if (Edit.m_hWnd) WriteCorrection(Caption);
      LastValidValue = Caption;
      return 1;
    }
  } else {
    int hour = 0, minute = 0, second = 0;
    if (GetCurInputTime(hour, minute, second)) return 1;
  }

  // Roll back: a date to the last valid one, a time to now.
  if (!Edit.m_hWnd) return 1;
  if (tamvero::IsDateStyle(Style)) {
    // A value kept under another format is no value of this one.
    Caption = LastValidValue.GetLength() == DigitCount ? LastValidValue : CString();
    MirrorOwnText(Caption);
    WriteCorrection(Caption);
  } else {
    struct tm now = {};
    if (!tamvero::ClockLocalTime(tamvero::ClockNow(), now)) return 1;
    int hour = now.tm_hour, minute = now.tm_min, second = now.tm_sec;
    m_correcting = TRUE;
    DisplayTime(hour, minute, second);
    m_correcting = FALSE;
  }
  return 1;
}

// Every report of the field would otherwise write the same text again: a round trip to
// the window manager and a WM_SETTEXT to every subclass of the control for nothing.
void CCalendarCtl::MirrorOwnText(LPCWSTR text) {
  if (GetWindowText() != text) SetWindowText(text);
}

CString CCalendarCtl::BoundInValueForm(const CString& bound) {
  // The bounds are eight digits; a field of another format shows them in its own form.
  CString digits;
  if (bound.GetLength() == 8 &&
      tamvero::FormDateValue(DateFormat, ReadDecimal(bound.Left(4)), ReadDecimal(bound.Mid(4, 2)),
                             ReadDecimal(bound.Mid(6, 2)), digits))
    return digits;
  return bound;
}

void CCalendarCtl::WriteCorrection(const CString& text) {
  m_correcting = TRUE;
  Edit.SetWindowText(text);
  m_correcting = FALSE;
}

void CCalendarCtl::SetCaptionCtrlInEx(LPCWSTR lpszValue) {
  if (!lpszValue || !*lpszValue) return;
  Caption = lpszValue;
  if (Edit.m_hWnd) Edit.SetWindowText(ReadsNonZero(Caption) ? Caption.GetString() : L"");
  if (static_cast<int>(wcslen(lpszValue)) == DigitCount) {
    if (tamvero::IsTimeStyle(Style)) {
      int hour = 0, minute = 0, second = 0;
      if (GetCurInputTime(hour, minute, second)) DisplayTime(hour, minute, second);
    } else {
      int year = 0, month = 0, day = 0;
      if (GetCurInputDate(year, month, day)) DisplayDate(year, month, day);
    }
  }
  if (EventsEnabled) OfferThenFire(EVENT_SelSelected);
}

void CCalendarCtl::SetCaptionCtrl(LPCWSTR lpszValue) { SetCaptionCtrlInEx(lpszValue); }

void CCalendarCtl::MSetCaptionCtrlEx(LPCWSTR lpszValue, BOOL bEvent) {
  EventsEnabled = bEvent;
  SetCaptionCtrlInEx(lpszValue);
  EventsEnabled = TRUE;
}

BSTR CCalendarCtl::MGetCaptionCtrl() {
  if (!Edit.m_hWnd) return SysAllocString(L"");
  return Edit.GetWindowText().AllocSysString();
}

BOOL CCalendarCtl::CheckCaption() {
  CString digits = GetExceptDateFormatString(Edit.m_hWnd ? Edit.GetWindowText().GetString() : L"");
  digits.Trim();
  return !digits.IsEmpty();
}

BSTR CCalendarCtl::GetItem() {
  if (!Item.IsEmpty() && Enabled && (ItemFlag == 2 || ItemFlag == 3)) return Item.AllocSysString();
  return SysAllocString(L"");
}
