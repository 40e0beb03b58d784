#include "DateMath.h"

#include <cmath>
#include <cwctype>

#include "Clock.h"

namespace tamvero {
namespace {

const wchar_t kBlankDate[] = L"        ";
const wchar_t kBlankTime[] = L"      ";

// Whole days are added to the day number with the time of day kept: an OLE date before
// 1899-12-30 is negative while its fraction still counts forward from midnight, so plain
// addition would land on the wrong day there.
double OleAddDays(double date, int days) {
  double dayNumber = std::trunc(date);
  double timeOfDay = std::fabs(date - dayNumber);
  double moved = dayNumber + days;
  return moved >= 0 ? moved + timeOfDay : moved - timeOfDay;
}

CString FormatYmd(int year, int month, int day) {
  CString text;
  text.Format(L"%04d%02d%02d", year, month, day);
  return text;
}

void TodayParts(int& year, int& month, int& day) {
  struct tm now;
  if (ClockLocalNow(now)) {
    year = now.tm_year + 1900;
    month = now.tm_mon + 1;
    day = now.tm_mday;
  } else {
    year = month = day = -1;
  }
}

void NowParts(int& hour, int& minute, int& second) {
  struct tm now;
  if (ClockLocalNow(now)) {
    hour = now.tm_hour;
    minute = now.tm_min;
    second = now.tm_sec;
  } else {
    hour = minute = second = -1;
  }
}

bool InWordRange(int n) { return n >= 0 && n <= 0xFFFF; }

bool IsPlaceholderDate(DateGroup group, int year, int month, int day) {
  switch (group) {
  case DateGroup::FullDate:
  case DateGroup::ShortYearDate:
    return (year == 9999 && month == 99 && day == 99) || (year == 0 && month == 0 && day == 0);
  case DateGroup::YearMonth:
  case DateGroup::ShortYearMonth:
    return (year == 9999 && month == 99) || (year == 0 && month == 0);
  case DateGroup::MonthDay:
    return (month == 99 && day == 99) || (month == 0 && day == 0);
  case DateGroup::YearOnly:
    return year == 9999 || year == 0;
  default:
    return false;
  }
}

// Moves month by delta months, carrying into the year in the direction moved only (a
// month read from the field may be out of range to begin with).
void AddMonths(int& year, int& month, int delta) {
  month += delta;
  if (delta < 0 && month < 1) {
    int q = month / 12;
    year += q - 1;
    month = month - 12 * q + 12;
  } else if (delta > 0 && month > 12) {
    year += month / 12;
    month %= 12;
    if (month == 0) {
      month = 12;
      --year;
    }
  }
}

// Floor division, so that a field stays in 0..modulus-1 for any count.
int FloorDiv(int x, int modulus, int& rest) {
  int quotient = x / modulus;
  rest = x % modulus;
  if (rest < 0) {
    rest += modulus;
    --quotient;
  }
  return quotient;
}

} // namespace

// ---- calendar ------------------------------------------------------------------------

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool ToOleDate(int year, int month, int day, int hour, int minute, int second, double& date) {
  if (!InWordRange(year) || !InWordRange(month) || !InWordRange(day) || !InWordRange(hour) || !InWordRange(minute) ||
      !InWordRange(second))
    return false;
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  double converted = 0;
  SYSTEMTIME back = {};
  // The platform rolls 31 February over and maps two-digit years; only a round trip tells.
  if (!SystemTimeToVariantTime(&st, &converted) || !VariantTimeToSystemTime(converted, &back)) return false;
  if (back.wYear != st.wYear || back.wMonth != st.wMonth || back.wDay != st.wDay || back.wHour != st.wHour ||
      back.wMinute != st.wMinute || back.wSecond != st.wSecond)
    return false;
  date = converted;
  return true;
}

bool IsRealDate(int year, int month, int day) {
  double ignored;
  return ToOleDate(year, month, day, 0, 0, 0, ignored);
}

// ---- reading and validation ------------------------------------------------------------

bool ReadDateValue(const DateTimeProps& props, const CString& value, int& year, int& month, int& day) {
  int code = props.DateFormat;
  if (value.GetLength() != props.DigitCount || code < 0 || code > 20) return false;
  int todayYear, todayMonth, todayDay;
  TodayParts(todayYear, todayMonth, todayDay);
  if (code <= 3) {
    year = ReadDecimal(value.Mid(0, 4));
    month = ReadDecimal(value.Mid(4, 2));
    day = ReadDecimal(value.Mid(6, 2));
  } else if (code <= 7) {
    year = 2000 + ReadDecimal(value.Mid(0, 2));
    month = ReadDecimal(value.Mid(2, 2));
    day = ReadDecimal(value.Mid(4, 2));
  } else if (code <= 11) {
    year = ReadDecimal(value.Mid(0, 4));
    month = ReadDecimal(value.Mid(4, 2));
    day = todayDay;
  } else if (code <= 15) {
    year = 2000 + ReadDecimal(value.Mid(0, 2));
    month = ReadDecimal(value.Mid(2, 2));
    day = todayDay;
  } else if (code <= 19) {
    year = todayYear;
    month = ReadDecimal(value.Mid(0, 2));
    day = ReadDecimal(value.Mid(2, 2));
  } else {
    year = ReadDecimal(value.Mid(0, 4));
    month = todayMonth;
    day = todayDay;
  }
  return true;
}

bool ReadTimeValue(const DateTimeProps& props, const CString& value, int& hour, int& minute, int& second) {
  int code = props.TimeFormat;
  if (value.GetLength() != props.DigitCount || code < 0 || code > 8) return false;
  int nowHour, nowMinute, nowSecond;
  NowParts(nowHour, nowMinute, nowSecond);
  if (code <= 2) {
    hour = ReadDecimal(value.Mid(0, 2));
    minute = ReadDecimal(value.Mid(2, 2));
    second = ReadDecimal(value.Mid(4, 2));
  } else if (code <= 5) {
    hour = ReadDecimal(value.Mid(0, 2));
    minute = ReadDecimal(value.Mid(2, 2));
    second = nowSecond;
  } else {
    hour = nowHour;
    minute = ReadDecimal(value.Mid(0, 2));
    second = ReadDecimal(value.Mid(2, 2));
  }
  return true;
}

BOOL GetCurInputDate(const DateTimeProps& props, const CString& value, int& year, int& month, int& day) {
  ReadDateValue(props, value, year, month, day);
  if (props.NotCheckDate && IsPlaceholderDate(DateGroupOf(props.DateFormat), year, month, day)) return TRUE;
  return DateCheck(props, year, month, day);
}

BOOL GetCurInputTime(const DateTimeProps& props, const CString& value, int& hour, int& minute, int& second) {
  ReadTimeValue(props, value, hour, minute, second);
  return TimeCheck(props.Style, hour, minute, second);
}

BOOL DateCheck(const DateTimeProps& props, int year, int month, int day) {
  if (IsTimeStyle(props.Style)) return FALSE;
  if (year < props.MinYear || year > props.MaxYear) return FALSE;
  if (month < 1 || month > 12) return FALSE;
  if (!ValueHasDay(DateGroupOf(props.DateFormat))) return TRUE;
  return day >= 1 && day <= DaysInMonth(year, month);
}

BOOL TimeCheck(int style, int hour, int minute, int second) {
  int lastHour;
  if (style == 1 || style == 4)
    lastHour = 23;
  else if (style == 5)
    lastHour = 27; // hours past midnight of the same working day
  else
    return FALSE;
  return hour >= 0 && hour <= lastHour && static_cast<unsigned>(minute) <= 59 && static_cast<unsigned>(second) <= 59;
}

BOOL IsInputDigit(const wchar_t* text, short count) {
  if (!text || !*text) return FALSE;
  for (int i = 0; i < count; ++i)
    if (!iswdigit(text[i])) return FALSE; // the terminator of a shorter text is not a digit
  return TRUE;
}

DateRangeBounds ReadDateRange(const DateTimeProps& props, const CString& startTime, const CString& endTime) {
  DateRangeBounds range;
  range.MinYear = props.MinYear;
  range.MaxYear = props.MaxYear;
  if (startTime.GetLength() != 8 || endTime.GetLength() != 8) return range;

  range.YearsRead = true;
  range.MinYear = ReadDecimal(startTime.Mid(0, 4));
  range.MaxYear = ReadDecimal(endTime.Mid(0, 4));
  int startMonth = ReadDecimal(startTime.Mid(4, 2)), startDay = ReadDecimal(startTime.Mid(6, 2));
  int endMonth = ReadDecimal(endTime.Mid(4, 2)), endDay = ReadDecimal(endTime.Mid(6, 2));

  DateTimeProps bounded = props;
  bounded.MinYear = range.MinYear;
  bounded.MaxYear = range.MaxYear;
  if (!DateCheck(bounded, range.MinYear, startMonth, startDay) || !DateCheck(bounded, range.MaxYear, endMonth, endDay))
    return range;
  // DateCheck skips the day in year-month formats; the calendar needs real days in order.
  double first, last;
  if (!ToOleDate(range.MinYear, startMonth, startDay, 0, 0, 0, first) ||
      !ToOleDate(range.MaxYear, endMonth, endDay, 0, 0, 0, last) || first > last)
    return range;
  range.BoundsValid = VariantTimeToSystemTime(first, &range.First) && VariantTimeToSystemTime(last, &range.Last);
  return range;
}

void WidestDateRange(SYSTEMTIME& first, SYSTEMTIME& last) {
  double date;
  if (ToOleDate(1970, 1, 1, 0, 0, 0, date)) VariantTimeToSystemTime(date, &first);
  if (ToOleDate(9999, 12, 31, 0, 0, 0, date)) VariantTimeToSystemTime(date, &last);
}

// ---- value forms -----------------------------------------------------------------------

CString SetValueDigits(const DateTimeProps& props, const CString& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text.GetLength() == props.DigitCount) {
    // Read as input is read, but not judged: the host's digits are stored as given.
    if (IsTimeStyle(props.Style))
      ReadTimeValue(props, text, hour, minute, second);
    else
      ReadDateValue(props, text, year, month, day);
  }
  CString digits = text;
  // A style outside the table writes a date, as style 0 does.
  if (IsDateStyle(props.Style))
    FormDateValue(props.DateFormat, year, month, day, digits);
  else
    FormTimeValue(props.TimeFormat, hour, minute, second, digits);
  return digits;
}

void InitialDateParts(const CString& computed, int& year, int& month, int& day) {
  if (computed.GetLength() == 8) {
    year = ReadDecimal(computed.Mid(0, 4));
    month = ReadDecimal(computed.Mid(4, 2));
    day = ReadDecimal(computed.Mid(6, 2));
  } else {
    TodayParts(year, month, day);
  }
}

void InitialTimeParts(const CString& computed, int& hour, int& minute, int& second) {
  if (computed.GetLength() == 6) {
    hour = ReadDecimal(computed.Mid(0, 2));
    minute = ReadDecimal(computed.Mid(2, 2));
    second = ReadDecimal(computed.Mid(4, 2));
  } else {
    NowParts(hour, minute, second);
  }
}

// ---- computed dates and times ------------------------------------------------------------

bool ShiftMonths(int& year, int& month, int& day, int count, bool forward) {
  // A negative count turns the direction round, as it does for days and weeks.
  if (count < 0) {
    count = -count;
    forward = !forward;
  }
  AddMonths(year, month, forward ? count : -count);
  // A real year finds its day within a month's length; a year outside 100 to 9999 never
  // does, so the search is bounded and then gives up.
  for (int tries = 0; tries < 62; ++tries) {
    if (IsRealDate(year, month, day)) return true;
    if (!forward) {
      if (--day < 1) return false;
    } else if (++day > 31) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
  return false;
}

CString GetComputedDate(const CString& value, short nBasic, short nVariance, short nIndicator) {
  if (nBasic == 4) return kBlankDate;
  if (nBasic < 0 || nBasic > 3) return CString();

  struct tm now;
  if (!ClockLocalNow(now)) return CString();
  int year = now.tm_year + 1900, month = now.tm_mon + 1, day = now.tm_mday;
  if (nBasic == 0) return FormatYmd(year, month, day);

  if (nBasic == 3) {
    if (!ShiftMonths(year, month, day, nVariance, nIndicator != 0)) return CString();
    return FormatYmd(year, month, day);
  }

  int span = nBasic == 2 ? nVariance * 7 : nVariance;
  double start;
  bool fromValue = false;
  if (value.GetLength() == 8) {
    // A shown value that is no real date (blanks, 31 February) counts from today instead.
    fromValue = ToOleDate(ReadDecimal(value.Mid(0, 4)), ReadDecimal(value.Mid(4, 2)), ReadDecimal(value.Mid(6, 2)), 0,
                          0, 0, start);
  }
  if (!fromValue && !ToOleDate(year, month, day, now.tm_hour, now.tm_min, now.tm_sec, start)) return CString();

  SYSTEMTIME result;
  // Beyond the years 100 to 9999 there is no date to give.
  if (!VariantTimeToSystemTime(OleAddDays(start, nIndicator ? span : -span), &result)) return CString();
  return FormatYmd(result.wYear, result.wMonth, result.wDay);
}

CString GetComputedTime(short nBasic, short nVariance, short nIndicator) {
  if (nBasic == 4) return kBlankTime;
  if (nBasic < 0 || nBasic > 3) return CString();
  static const __int64 unitSeconds[4] = {0, 1, 60, 3600};
  __int64 span = static_cast<__int64>(nVariance) * unitSeconds[nBasic];
  __time64_t t = ClockNow() + (nIndicator ? span : -span);
  struct tm local;
  int hour = -1, minute = -1, second = -1;
  if (ClockLocalTime(t, local)) {
    hour = local.tm_hour;
    minute = local.tm_min;
    second = local.tm_sec;
  }
  CString text;
  text.Format(L"%02d%02d%02d", hour, minute, second);
  return text;
}

HRESULT GetBaseComputedDate(const CString& base, const CString& value, short nBasic, short nVariance, short nIndicator,
                            CString& result) {
  const CString& date = base.IsEmpty() ? value : base;
  if (date.GetLength() != 8 || nBasic < 0 || nBasic > 4) {
    result.Empty();
    return S_OK;
  }
  int year = ReadDecimal(date.Mid(0, 4)), month = ReadDecimal(date.Mid(4, 2)), day = ReadDecimal(date.Mid(6, 2));
  switch (nBasic) {
  case 4:
    result = kBlankDate;
    return S_OK;
  case 0:
    result = FormatYmd(year, month, day);
    return S_OK;
  case 3:
    // A base month or day out of range has no month to move from.
    if (month < 1 || month > 12 || day < 1 || day > 31 || !ShiftMonths(year, month, day, nVariance, nIndicator != 0))
      result.Empty();
    else
      result = FormatYmd(year, month, day);
    return S_OK;
  default:
    break;
  }

  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > 31) return E_FAIL;
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day; // a day past the month's end rolls into the next month
  local.tm_isdst = -1;
  __time64_t t = _mktime64(&local);
  if (t == -1) return E_INVALIDARG;
  __int64 span = static_cast<__int64>(nBasic == 2 ? nVariance * 7 : nVariance) * 24 * 3600;
  t += nIndicator ? span : -span;
  struct tm moved;
  if (ClockLocalTime(t, moved))
    result = FormatYmd(moved.tm_year + 1900, moved.tm_mon + 1, moved.tm_mday);
  else
    result = FormatYmd(0, 0, 0);
  return S_OK;
}

// ---- stepping ------------------------------------------------------------------------------

bool ShownYearMonth(int dateFormat, const CString& value, const CString& editText, int& year, int& month) {
  year = month = 0;
  if (DateGroupOf(dateFormat) != DateGroup::YearMonth) return false;
  if (value.IsEmpty()) {
    int day;
    TodayParts(year, month, day);
  } else {
    year = ReadDecimal(editText.Left(4));
    // "####년##월" ends in the month letter; reading stops at it.
    month = ReadDecimal(editText.Right(dateFormat == 11 ? 3 : 2));
  }
  return true;
}

CString StepMonth(int& year, int& month, short bNext) {
  AddMonths(year, month, bNext ? 1 : -1);
  if (!IsRealDate(year, month, 1)) return CString();
  return FormatYmd(year, month, 1);
}

int StepShownYear(const CString& editText, bool next) {
  CString text = editText;
  if (ReadDecimal(text) == 0) {
    int year, month, day;
    TodayParts(year, month, day);
    text.Format(L"%04d", year);
  }
  return ReadDecimal(text.Left(4)) + (next ? 1 : -1);
}

int GetPrevNextComputedTime(short nBasic, short nVariance, short nIndicator, int& nValue) {
  int modulus = (nBasic == 1 || nBasic == 2) ? 60 : nBasic == 3 ? 24 : 0;
  if (modulus == 0) return 0; // not a time unit: nothing moves
  int x = nIndicator ? nValue + nVariance : nValue - nVariance;
  // Floor division keeps the field in range for counts of any size; the carry is then the
  // number of wraps (the same as the plain remainder for a count within the modulus).
  int rest;
  int carry = FloorDiv(x, modulus, rest);
  nValue = rest;
  return carry;
}

namespace {

enum TimeField { Hour, Minute, Second };

// Where a field's two digits sit in the value and which field takes its carry.
struct FieldLayout {
  int offset;        // in the value string
  int selStart;      // mask positions selected after a step
  short unit;        // 1 seconds, 2 minutes, 3 hours
  TimeField carryTo; // next larger field
  bool carries;      // false for the largest field of the format
};

FieldLayout LayoutOf(int group, TimeField field) {
  switch (group) {
  case 0: // hour, minute, second
    if (field == Second) return {4, 6, 1, Minute, true};
    if (field == Minute) return {2, 3, 2, Hour, true};
    return {0, 0, 3, Hour, false};
  case 1: // hour, minute
    if (field == Minute) return {2, 3, 2, Hour, true};
    return {0, 0, 3, Hour, false};
  default: // minute, second
    if (field == Second) return {2, 3, 1, Minute, true};
    return {0, 0, 2, Minute, false};
  }
}

// Writes the new number in place and copies the other characters: the first or last two
// or four of the old value, padded on the left with blanks when it is shorter.
CString RewriteField(int group, int offset, const CString& value, int number) {
  CString text;
  if (group == 0 && offset == 4)
    text.Format(L"%4.4ls%02d", value.Left(4).GetString(), number);
  else if (group == 0 && offset == 2)
    text.Format(L"%2.2ls%02d%2.2ls", value.Left(2).GetString(), number, value.Right(2).GetString());
  else if (group == 0)
    text.Format(L"%02d%4.4ls", number, value.Right(4).GetString());
  else if (offset == 2)
    text.Format(L"%2.2ls%02d", value.Left(2).GetString(), number);
  else
    text.Format(L"%02d%2.2ls", number, value.Right(2).GetString());
  return text;
}

} // namespace

TimeStep StepTimeValue(int timeFormat, const CString& value, int selStart, int selEnd, bool next) {
  TimeStep step;
  step.Value = value;
  step.SelStart = selStart;
  step.SelEnd = selEnd;
  if (timeFormat < 0 || timeFormat > 8) return step;

  int group = timeFormat / 3;
  TimeField field;
  if (group == 0)
    field = selEnd > 5 ? Second : selEnd >= 3 ? Minute : Hour;
  else if (group == 1)
    field = selEnd >= 3 ? Minute : Hour;
  else
    field = selEnd >= 3 ? Second : Minute;

  // The stepped field stays selected, also when its wrap carried into a larger field.
  FieldLayout stepped = LayoutOf(group, field);
  step.SelStart = stepped.selStart;
  step.SelEnd = stepped.selStart + 2;

  CString text = value;
  for (;;) {
    FieldLayout layout = LayoutOf(group, field);
    int number = ReadDecimal(text.Mid(layout.offset, 2));
    int carry = GetPrevNextComputedTime(layout.unit, 1, next ? 1 : 0, number);
    text = RewriteField(group, layout.offset, text, number);
    if (carry == 0 || !layout.carries) break;
    field = layout.carryTo;
  }

  step.Stepped = true;
  step.Value = text;
  if (group == 0) {
    step.Hour = ReadDecimal(text.Mid(0, 2));
    step.Minute = ReadDecimal(text.Mid(2, 2));
    step.Second = ReadDecimal(text.Mid(4, 2));
  } else if (group == 1) {
    step.Hour = ReadDecimal(text.Mid(0, 2));
    step.Minute = ReadDecimal(text.Mid(2, 2));
  } else {
    step.Minute = ReadDecimal(text.Mid(0, 2));
    step.Second = ReadDecimal(text.Mid(2, 2));
  }
  return step;
}

} // namespace tamvero
