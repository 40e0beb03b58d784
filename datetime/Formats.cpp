#include "Formats.h"

namespace tamvero {
namespace {

// Korean unit letters, escaped so that the source encoding never matters.
#define YEAR_K L"\uB144"
#define MONTH_K L"\uC6D4"
#define DAY_K L"\uC77C"
#define HOUR_K L"\uC2DC"
#define MINUTE_K L"\uBD84"
#define SECOND_K L"\uCD08"

const FormatEntry kDateFormats[kDateFormatCount] = {
    {L"####.##.##", L"YYYYMMDD", 8}, {L"####-##-##", L"YYYYMMDD", 8},
    {L"####/##/##", L"YYYYMMDD", 8}, {L"####" YEAR_K L"##" MONTH_K L"##" DAY_K, L"YYYYMMDD", 8},
    {L"##-##-##", L"YYMMDD", 6},     {L"##/##/##", L"YYMMDD", 6},
    {L"##.##.##", L"YYMMDD", 6},     {L"##" YEAR_K L"##" MONTH_K L"##" DAY_K, L"YYMMDD", 6},
    {L"####-##", L"YYYYMM", 6},      {L"####/##", L"YYYYMM", 6},
    {L"####.##", L"YYYYMM", 6},      {L"####" YEAR_K L"##" MONTH_K, L"YYYYMM", 6},
    {L"##-##", L"YYMM", 4},          {L"##/##", L"YYMM", 4},
    {L"##.##", L"YYMM", 4},          {L"##" YEAR_K L"##" MONTH_K, L"YYMM", 4},
    {L"##-##", L"MMDD", 4},          {L"##/##", L"MMDD", 4},
    {L"##.##", L"MMDD", 4},          {L"##" MONTH_K L"##" DAY_K, L"MMDD", 4},
    {L"####", L"YYYY", 4},
};

const FormatEntry kTimeFormats[kTimeFormatCount] = {
    {L"##:##:##", L"HHMMSS", 6},
    {L"##-##-##", L"HHMMSS", 6},
    {L"##" HOUR_K L"##" MINUTE_K L"##" SECOND_K, L"HHMMSS", 6},
    {L"##:##", L"HHMM", 4},
    {L"##-##", L"HHMM", 4},
    {L"##" HOUR_K L"##" MINUTE_K, L"HHMM", 4},
    {L"##:##", L"MMSS", 4},
    {L"##-##", L"MMSS", 4},
    {L"##" MINUTE_K L"##" SECOND_K, L"MMSS", 4},
};

// The last two digits of the zero-padded four-digit year.
CString TwoDigitYear(int year) {
  CString full;
  full.Format(L"%04d", year);
  return full.Right(2);
}

bool ShowsEmpty(DateGroup group, int year, int month, int day) {
  switch (group) {
  case DateGroup::FullDate:
  case DateGroup::ShortYearDate:
    return year == 0 && month == 0 && day == 0;
  case DateGroup::YearMonth:
  case DateGroup::ShortYearMonth:
    return year == 0 && month == 0;
  case DateGroup::MonthDay:
    return month == 0 && day == 0;
  default:
    return year == 0;
  }
}

bool FormDate(DateGroup group, int year, int month, int day, CString& digits) {
  switch (group) {
  case DateGroup::FullDate:
    digits.Format(L"%04d%02d%02d", year, month, day);
    return true;
  case DateGroup::ShortYearDate:
    digits.Format(L"%ls%02d%02d", TwoDigitYear(year).GetString(), month, day);
    return true;
  case DateGroup::YearMonth:
    digits.Format(L"%04d%02d", year, month);
    return true;
  case DateGroup::ShortYearMonth:
    digits.Format(L"%ls%02d", TwoDigitYear(year).GetString(), month);
    return true;
  case DateGroup::MonthDay:
    digits.Format(L"%02d%02d", month, day);
    return true;
  case DateGroup::YearOnly:
    digits.Format(L"%04d", year);
    return true;
  default:
    return false;
  }
}

} // namespace

DateGroup DateGroupOf(int dateFormat) {
  if (dateFormat < 0 || dateFormat >= kDateFormatCount) return DateGroup::None;
  return dateFormat == 20 ? DateGroup::YearOnly : static_cast<DateGroup>(dateFormat / 4);
}

bool ValueHasDay(DateGroup group) {
  return group != DateGroup::YearMonth && group != DateGroup::ShortYearMonth && group != DateGroup::YearOnly;
}

CString FoldDigits(const CString& text) {
  const int length = text.GetLength();
  if (length == 0) return text;
  std::wstring folded(static_cast<size_t>(length) * 2 + 1, L'\0');
  int n = FoldStringW(MAP_FOLDDIGITS, text.GetString(), length, &folded[0], static_cast<int>(folded.size()));
  if (n <= 0) return text;
  folded.resize(static_cast<size_t>(n));
  return CString(folded.c_str());
}

int EffectiveStyle(int style) { return style >= 0 && style < kStyleCount ? style : 0; }
bool IsTimeStyle(int style) {
  style = EffectiveStyle(style);
  return style == 1 || style == 4 || style == 5;
}
bool IsDateStyle(int style) { return !IsTimeStyle(style); }
bool HasDropDownButton(int style) { return EffectiveStyle(style) == 0; }
bool HasSpinButton(int style) {
  style = EffectiveStyle(style);
  return style == 2 || style == 4;
}

const FormatEntry* DateFormatEntry(int dateFormat) {
  return dateFormat >= 0 && dateFormat < kDateFormatCount ? &kDateFormats[dateFormat] : nullptr;
}

const FormatEntry* TimeFormatEntry(int timeFormat) {
  return timeFormat >= 0 && timeFormat < kTimeFormatCount ? &kTimeFormats[timeFormat] : nullptr;
}

const FormatEntry* CurrentFormatEntry(const DateTimeProps& props) {
  return IsTimeStyle(props.Style) ? TimeFormatEntry(props.TimeFormat) : DateFormatEntry(props.DateFormat);
}

bool DisplayDateDigits(int dateFormat, int year, int month, int day, CString& digits) {
  DateGroup group = DateGroupOf(dateFormat);
  if (group == DateGroup::None) return false;
  if (ShowsEmpty(group, year, month, day)) {
    digits.Empty();
    return true;
  }
  return FormDate(group, year, month, day, digits);
}

bool DisplayTimeDigits(int timeFormat, int hour, int minute, int second, CString& digits) {
  if (timeFormat >= 3 && timeFormat <= 5 && hour == 0 && minute == 0) {
    // A midnight hour-minute field shows six zeros; the edit keeps the first four.
    digits = L"000000";
    return true;
  }
  return FormTimeValue(timeFormat, hour, minute, second, digits);
}

bool FormDateValue(int dateFormat, int year, int month, int day, CString& digits) {
  return FormDate(DateGroupOf(dateFormat), year, month, day, digits);
}

bool FormTimeValue(int timeFormat, int hour, int minute, int second, CString& digits) {
  if (timeFormat < 0 || timeFormat >= kTimeFormatCount) return false;
  if (timeFormat <= 2)
    digits.Format(L"%02d%02d%02d", hour, minute, second);
  else if (timeFormat <= 5)
    digits.Format(L"%02d%02d", hour, minute);
  else
    digits.Format(L"%02d%02d", minute, second);
  return true;
}

CString GetExceptDateFormatString(const DateTimeProps& props, const CString& text) {
  CString result = text;
  const FormatEntry* format = CurrentFormatEntry(props);
  if (result.IsEmpty() || !format) return result;
  for (const wchar_t* p = format->Mask; *p; ++p)
    if (*p != L'#') result.Remove(*p);
  return result;
}

bool CheckDataFormat(const DateTimeProps& props, const CString& value, CString& digits) {
  // Only dates are completed; a short time is left for the user to finish.
  if (IsTimeStyle(props.Style)) return false;
  int length = value.GetLength();
  bool blankInside = length == props.DigitCount && value.Find(L' ') >= 1;
  if (!blankInside && length != props.DigitCount - 1) return false;

  int year = 0, month = 0, day = 0;
  DateGroup group = DateGroupOf(props.DateFormat);
  switch (group) {
  case DateGroup::FullDate:
    year = ReadDecimal(value.Left(4));
    month = ReadDecimal(value.Mid(4, 2));
    day = ReadDecimal(value.Mid(6));
    digits.Format(L"%04d%02d%02d", year, month, day);
    return true;
  case DateGroup::ShortYearDate:
    year = ReadDecimal(value.Left(2));
    month = ReadDecimal(value.Mid(2, 2));
    day = ReadDecimal(value.Mid(4));
    digits.Format(L"%02d%02d%02d", year, month, day);
    return true;
  case DateGroup::YearMonth:
    year = ReadDecimal(value.Left(4));
    month = ReadDecimal(value.Mid(4));
    digits.Format(L"%04d%02d", year, month);
    return true;
  case DateGroup::ShortYearMonth:
    year = ReadDecimal(value.Left(2));
    month = ReadDecimal(value.Mid(2));
    digits.Format(L"%02d%02d", year, month);
    return true;
  case DateGroup::MonthDay:
    month = ReadDecimal(value.Left(2));
    day = ReadDecimal(value.Mid(2));
    digits.Format(L"%02d%02d", month, day);
    return true;
  default:
    return false; // the year alone, or no format
  }
}

} // namespace tamvero
