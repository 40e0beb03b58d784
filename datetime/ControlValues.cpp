// The control's formats, values, validation, computed dates and stepping: the members
// read the control's state and hand it to the date library.
#include "CalendarCtl.h"

#include "CalendarWnd.h"
#include "Clock.h"
#include "DateMath.h"
#include "Formats.h"

namespace {

tamvero::DateTimeProps Props(const CCalendarCtl* c) {
  tamvero::DateTimeProps p;
  p.Style = c->Style;
  p.DateFormat = c->DateFormat;
  p.TimeFormat = c->TimeFormat;
  p.DigitCount = c->DigitCount;
  p.MinYear = c->MinYear;
  p.MaxYear = c->MaxYear;
  p.NotCheckDate = c->NotCheckDate;
  return p;
}

bool IsAllWhiteSpace(const CString& s) {
  for (int i = 0; i < s.GetLength(); ++i)
    if (!iswspace(s[i])) return false;
  return true;
}

// Gives the field the format's mask and full length. An out-of-range code leaves the mask
// in place; a field that has no mask yet (one made from a stored out-of-range code) takes
// the default format's, never none at all.
void ApplyFormat(CCalendarEdit& edit, int& digitCount, const tamvero::FormatEntry* entry,
                 const tamvero::FormatEntry* fallback) {
  if (!entry && edit.RecordCount() == 0) entry = fallback;
  if (entry) {
    edit.SetMask(entry->Mask);
    digitCount = entry->DigitCount;
  }
  edit.FullLength = digitCount;
}

} // namespace

// ---- formats ------------------------------------------------------------------------------

void CCalendarCtl::OnDateFormatChanged() {
  if (!m_hWnd) return;
  if (Edit.m_hWnd && !tamvero::IsTimeStyle(Style))
    ApplyFormat(Edit, DigitCount, tamvero::DateFormatEntry(DateFormat), tamvero::DateFormatEntry(kDefaultDateFormat));
  BoundPropertyChanged(PROP_DateFormat);
  if (IsRunMode()) SetDateToCalendarWnd();
}

void CCalendarCtl::OnTimeFormatChanged() {
  if (tamvero::IsTimeStyle(Style) && Edit.m_hWnd)
    ApplyFormat(Edit, DigitCount, tamvero::TimeFormatEntry(TimeFormat), tamvero::TimeFormatEntry(kDefaultTimeFormat));
  BoundPropertyChanged(PROP_TimeFormat);
}

CString CCalendarCtl::GetExceptDateFormatString(LPCWSTR text) {
  return tamvero::GetExceptDateFormatString(Props(this), CString(text));
}

void CCalendarCtl::CheckDataFormat() {
  // Only dates are completed: a time one digit short stays as the user left it.
  if (tamvero::IsTimeStyle(Style)) return;
  CString digits;
  if (tamvero::CheckDataFormat(Props(this), Caption, digits) && Edit.m_hWnd) Edit.SetWindowText(digits);
}

// ---- display and values ------------------------------------------------------------------

void CCalendarCtl::DisplayDate(int& year, int& month, int& day) {
  CString digits;
  if (!Edit.m_hWnd || !tamvero::DisplayDateDigits(DateFormat, year, month, day, digits)) return;
  Edit.SetWindowText(digits);
}

void CCalendarCtl::DisplayTime(int& hour, int& minute, int& second) {
  CString digits;
  if (!Edit.m_hWnd || !tamvero::DisplayTimeDigits(TimeFormat, hour, minute, second, digits)) return;
  Edit.SetWindowText(digits);
}

short CCalendarCtl::SetValue(LONG_PTR lpValue) {
  // The host passes the address of a wide string in its own process. A number that is
  // no readable address (a script's 12345) counts as no text rather than a crash.
  const wchar_t* address = reinterpret_cast<const wchar_t*>(lpValue);
  if (address && IsBadStringPtrW(address, 4096)) return 0;
  CString text(address);
  if (text.IsEmpty()) return 0;
  if (IsAllWhiteSpace(text)) {
    if (Edit.m_hWnd) Edit.SetWindowText(L"");
    Caption = text;
    return 0;
  }
  // A value of the right length is taken as it is: the edit's report of the same digits
  // then finds nothing new to check.
  if (text.GetLength() == DigitCount) Caption = text;
  CString digits = tamvero::SetValueDigits(Props(this), text);
  if (Edit.m_hWnd) Edit.SetWindowText(ReadsNonZero(digits) ? digits.GetString() : L"");
  Caption = digits;
  return 0;
}

BSTR CCalendarCtl::GetValue() { return Caption.AllocSysString(); }

void CCalendarCtl::SetInitDate() {
  Caption = GetComputedDateEx(BasicClient, Variance, Indicator);
  int year = 0, month = 0, day = 0;
  tamvero::InitialDateParts(Caption, year, month, day);
  // Emptied first so that the edit's report of the same digits counts as a change.
  Caption.Empty();
  DisplayDate(year, month, day);
}

void CCalendarCtl::SetInitTime() {
  Caption = GetComputedTimeEx(BasicClient, Variance, Indicator);
  int hour = 0, minute = 0, second = 0;
  tamvero::InitialTimeParts(Caption, hour, minute, second);
  Caption.Empty();
  DisplayTime(hour, minute, second);
}

BOOL CCalendarCtl::GetCurDate(VARIANT* nYear, VARIANT* nMonth, VARIANT* nDay) {
  for (VARIANT* v : {nYear, nMonth, nDay}) {
    // Only the type is written first; a text or object held there is released, not lost.
    VARTYPE vt = V_VT(v);
    if (vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_RECORD || (vt & VT_ARRAY)) {
      VariantClear(v);
      v->lVal = 0;
    }
    v->vt = VT_I4;
  }
  int year = 0, month = 0, day = 0;
  if (!GetCurInputDate(year, month, day)) return FALSE;
  nYear->lVal = year;
  nMonth->lVal = month;
  nDay->lVal = day;
  return TRUE;
}

CString CCalendarCtl::GetAutoSaveValue() { return CString(Caption); }

void CCalendarCtl::SetAutoSaveValue(LPCWSTR lpszValue) {
  if (!lpszValue || !*lpszValue) return;
  Caption = lpszValue;
  CString shown = ReadsNonZero(Caption) ? Caption : CString();
  SetWindowText(shown);
  if (Edit.m_hWnd) Edit.SetWindowText(shown);
}

// ---- reading and validation ----------------------------------------------------------------

BOOL CCalendarCtl::GetCurInputDate(int& year, int& month, int& day) {
  return tamvero::GetCurInputDate(Props(this), Caption, year, month, day);
}

BOOL CCalendarCtl::GetCurInputTime(int& hour, int& minute, int& second) {
  return tamvero::GetCurInputTime(Props(this), Caption, hour, minute, second);
}

BOOL CCalendarCtl::DateCheck(const int& year, const int& month, const int& day) {
  return tamvero::DateCheck(Props(this), year, month, day);
}

BOOL CCalendarCtl::TimeCheck(const int& hour, const int& minute, const int& second) {
  return tamvero::TimeCheck(Style, hour, minute, second);
}

BOOL CCalendarCtl::SetDateRange() {
  tamvero::DateRangeBounds bounds = tamvero::ReadDateRange(Props(this), StartTime, EndTime);
  if (bounds.YearsRead) {
    MinYear = bounds.MinYear;
    MaxYear = bounds.MaxYear;
  }
  bool calendar = CalendarWnd && CalendarWnd->m_hWnd;
  if (bounds.BoundsValid && calendar && CalendarWnd->SetRange(bounds.First, bounds.Last)) return TRUE;
  if (calendar) {
    SYSTEMTIME first, last;
    tamvero::WidestDateRange(first, last);
    CalendarWnd->SetRange(first, last);
  }
  return FALSE;
}

BOOL CCalendarCtl::IsInputDigit(const wchar_t* text, short count) { return tamvero::IsInputDigit(text, count); }

// ---- computed dates and times --------------------------------------------------------------

CString CCalendarCtl::GetComputedDateEx(short nBasic, short nVariance, short nIndicator) {
  return tamvero::GetComputedDate(Caption, nBasic, nVariance, nIndicator);
}

CString CCalendarCtl::GetComputedTimeEx(short nBasic, short nVariance, short nIndicator) {
  return tamvero::GetComputedTime(nBasic, nVariance, nIndicator);
}

BSTR CCalendarCtl::GetComputedDate(short nBasic, short nVariance, short nIndicator) {
  return GetComputedDateEx(nBasic, nVariance, nIndicator).AllocSysString();
}

BSTR CCalendarCtl::GetComputedTime(short nBasic, short nVariance, short nIndicator) {
  return GetComputedTimeEx(nBasic, nVariance, nIndicator).AllocSysString();
}

HRESULT CCalendarCtl::GetBaseComputedDate(LPCWSTR strBaseDate, short nBasic, short nVariance, short nIndicator,
                                          BSTR* result) {
  CString out;
  HRESULT hr = tamvero::GetBaseComputedDate(CString(strBaseDate), Caption, nBasic, nVariance, nIndicator, out);
  if (FAILED(hr)) return hr;
  *result = out.AllocSysString();
  return S_OK;
}

CString CCalendarCtl::GetComputedMonth(int& nYear, int& nMonth, short bNext) {
  if (!Edit.m_hWnd) return CString();
  nYear = nMonth = 0;
  if (tamvero::IsDateStyle(Style) && !tamvero::ShownYearMonth(DateFormat, Caption, Edit.GetWindowText(), nYear, nMonth))
    return CString();
  CString first = tamvero::StepMonth(nYear, nMonth, bNext);
  if (first.IsEmpty()) return first;
  if (tamvero::DateGroupOf(DateFormat) == tamvero::DateGroup::YearMonth) return first;
  nYear = nMonth = 0;
  return CString();
}

int CCalendarCtl::GetPrevNextComputedTime(short nBasic, short nVariance, short nIndicator, int& nValue) {
  return tamvero::GetPrevNextComputedTime(nBasic, nVariance, nIndicator, nValue);
}

// ---- stepping ---------------------------------------------------------------------------------

LONG CCalendarCtl::OnGetPrevORNextDate(UINT, LONG lParam) {
  short next = static_cast<short>(LOWORD(lParam) != 0);
  if (!tamvero::IsTimeStyle(Style)) {
    bool stepped = true;
    const tamvero::DateGroup group = tamvero::DateGroupOf(DateFormat);
    if (group == tamvero::DateGroup::FullDate) {
      CString v = GetComputedDateEx(1, 1, next);
      int year = ReadDecimal(v.Left(4)), month = ReadDecimal(v.Mid(4, 2)), day = ReadDecimal(v.Mid(6, 2));
      Caption.Empty();
      DisplayDate(year, month, day);
    } else if (group == tamvero::DateGroup::YearMonth) {
      int year = 0, month = 0, day = 1;
      GetComputedMonth(year, month, next);
      Caption.Empty();
      DisplayDate(year, month, day);
    } else if (group == tamvero::DateGroup::YearOnly) {
      int year = tamvero::StepShownYear(Edit.GetWindowText(), next != 0), month = 1, day = 1;
      Caption.Empty();
      DisplayDate(year, month, day);
    } else {
      stepped = false; // two-digit years and month-day fields do not step
    }
    // Caption already holds the new date when the form is offered the event.
    if (stepped && EventsEnabled) OfferThenFire(EVENT_SelSelected);
    if (Edit.m_hWnd) {
      int end = Edit.GetWindowText().GetLength();
      Edit.SetSel(end, end);
    }
    return 0;
  }

  if (!Edit.m_hWnd) return 0;
  int start = 0, end = 0;
  Edit.GetSel(start, end);
  tamvero::TimeStep step = tamvero::StepTimeValue(TimeFormat, Caption, start, end, next != 0);
  if (!step.Stepped) {
    int zero = 0, zero2 = 0, zero3 = 0;
    DisplayTime(zero, zero2, zero3);
    Edit.SetSel(start, end);
    return 0;
  }
  // The field's report brings the stepped time into the value and the window text.
  DisplayTime(step.Hour, step.Minute, step.Second);
  Edit.SetSel(step.SelStart, step.SelEnd);
  return 0;
}
