// Style, date-format and time-format codes with their masks, value forms and digit counts,
// and the conversions between a value's digits and its numbers or its masked text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "TamveroApi.h"
#include "fxstring.h"

namespace tamvero {

// The properties that decide how a value is read, checked and written. The control fills
// one from its members for each call.
struct DateTimeProps {
  short Style = 0;
  short DateFormat = 2;
  short TimeFormat = 0;
  int DigitCount = 8;
  int MinYear = 1970;
  int MaxYear = 9999;
  BOOL NotCheckDate = FALSE;
};

struct FormatEntry {
  const wchar_t* Mask;      // '#' a digit position, anything else a literal
  const wchar_t* ValueForm; // the digits stored as the value, e.g. L"YYYYMMDD"
  int DigitCount;           // number of '#' and length of a complete value
};

constexpr int kDateFormatCount = 21;
constexpr int kTimeFormatCount = 9;

// The styles: 0 a date with the drop-down arrow, 1 a time, 2 a date with a spin button,
// 3 a plain date, 4 a time with a spin button, 5 a 27-hour time.
// A code outside 0 to 5 is kept as written but read as the default style 0 everywhere
// (mask, button, drop-down, value path), so the field never shows one kind and checks another.
constexpr int kStyleCount = 6;
TAMVERO_API int EffectiveStyle(int style);
// Styles 1, 4 and 5 edit a time.
TAMVERO_API bool IsTimeStyle(int style);
// Styles 0, 2 and 3 edit a date: only they drop a calendar down and report its selection.
TAMVERO_API bool IsDateStyle(int style);
// Styles with a button at the right edge: the drop-down arrow (0) or a spin button (2, 4).
TAMVERO_API bool HasDropDownButton(int style);
TAMVERO_API bool HasSpinButton(int style);
inline bool HasButton(int style) { return HasDropDownButton(style) || HasSpinButton(style); }

// What a date format's value holds: codes come in groups of four by content (0-3 the
// full date, 4-7 with a two-digit year, 8-11 year and month, 12-15 the same with a
// two-digit year, 16-19 month and day); 20 is the year alone.
enum class DateGroup { FullDate, ShortYearDate, YearMonth, ShortYearMonth, MonthDay, YearOnly, None };
TAMVERO_API DateGroup DateGroupOf(int dateFormat);
// False for the groups without a day (and true for a code out of range, which is checked
// as a full date).
TAMVERO_API bool ValueHasDay(DateGroup group);

// The text with every decimal digit of any script (fullwidth among them) as its ASCII digit.
TAMVERO_API CString FoldDigits(const CString& text);

// Table rows; null for a code out of range.
TAMVERO_API const FormatEntry* DateFormatEntry(int dateFormat);
TAMVERO_API const FormatEntry* TimeFormatEntry(int timeFormat);
// The row in use: the time format under a time style, the date format otherwise.
TAMVERO_API const FormatEntry* CurrentFormatEntry(const DateTimeProps& props);

// The digits a display shows for a date, empty when the format's parts are all 0.
// False (nothing to show) for a code out of range.
TAMVERO_API bool DisplayDateDigits(int dateFormat, int year, int month, int day, CString& digits);
// The same for a time; a time is never shown empty.
TAMVERO_API bool DisplayTimeDigits(int timeFormat, int hour, int minute, int second, CString& digits);

// The value form of the parts, with no emptiness rule (how a set value is normalised).
TAMVERO_API bool FormDateValue(int dateFormat, int year, int month, int day, CString& digits);
TAMVERO_API bool FormTimeValue(int timeFormat, int hour, int minute, int second, CString& digits);

// The text without the literals of the current mask; unchanged when there is no mask.
TAMVERO_API CString GetExceptDateFormatString(const DateTimeProps& props, const CString& text);

// Completes a date value one digit short or holding blanks. True with the new digits
// when there is something to do; false leaves the value alone.
TAMVERO_API bool CheckDataFormat(const DateTimeProps& props, const CString& value, CString& digits);

} // namespace tamvero
