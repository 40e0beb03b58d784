// Reading a value back into numbers, checking them, and the date and time arithmetic of
// the control: computed dates and times and the one-unit stepping of a shown value.
// Everything here is pure apart from the clock (Clock.h).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "Formats.h"
#include "TamveroApi.h"
#include "fxstring.h"

namespace tamvero {

// ---- calendar ------------------------------------------------------------------------

TAMVERO_API bool IsLeapYear(int year);
// Days of a month 1 to 12 (February by the year); 0 for another month.
TAMVERO_API int DaysInMonth(int year, int month);
// An OLE automation date of a local date and time. Passes only when converting it back
// gives the same parts: this is what refuses 31 February or a year outside 100 to 9999.
TAMVERO_API bool ToOleDate(int year, int month, int day, int hour, int minute, int second, double& date);
// The same test at midnight.
TAMVERO_API bool IsRealDate(int year, int month, int day);

// ---- reading and validation ------------------------------------------------------------

// Reads a complete value (length DigitCount, format in range) into the parts, taking the
// parts the format lacks from the clock. False, parts untouched, when not complete.
TAMVERO_API bool ReadDateValue(const DateTimeProps& props, const CString& value, int& year, int& month, int& day);
TAMVERO_API bool ReadTimeValue(const DateTimeProps& props, const CString& value, int& hour, int& minute, int& second);

// Reads the value (when complete) and judges it; the placeholder dates pass under NotCheckDate.
TAMVERO_API BOOL GetCurInputDate(const DateTimeProps& props, const CString& value, int& year, int& month, int& day);
TAMVERO_API BOOL GetCurInputTime(const DateTimeProps& props, const CString& value, int& hour, int& minute, int& second);
TAMVERO_API BOOL DateCheck(const DateTimeProps& props, int year, int month, int day);
TAMVERO_API BOOL TimeCheck(int style, int hour, int minute, int second);
TAMVERO_API BOOL IsInputDigit(const wchar_t* text, short count);

// What the bounds StartTime and EndTime give.
struct DateRangeBounds {
  bool YearsRead = false; // both have 8 characters: store MinYear and MaxYear
  int MinYear = 0;
  int MaxYear = 0;
  bool BoundsValid = false; // both pass DateCheck with the new years, are real dates and in order
  SYSTEMTIME First = {};    // the bounds at midnight, when valid, for the drop-down calendar
  SYSTEMTIME Last = {};
};
TAMVERO_API DateRangeBounds ReadDateRange(const DateTimeProps& props, const CString& startTime, const CString& endTime);
// The calendar's range when the bounds are unusable: 1 January 1970 to 31 December 9999.
TAMVERO_API void WidestDateRange(SYSTEMTIME& first, SYSTEMTIME& last);

// ---- value forms -----------------------------------------------------------------------

// The digits SetValue stores for a non-blank text: read as input when its length is
// DigitCount (not validated), all zeros otherwise, re-formed in the current format.
TAMVERO_API CString SetValueDigits(const DateTimeProps& props, const CString& text);
// The parts an initial value shows: from a computed YYYYMMDD / HHMMSS when it has that
// length, otherwise today or now (-1 for a part the clock cannot give).
TAMVERO_API void InitialDateParts(const CString& computed, int& year, int& month, int& day);
TAMVERO_API void InitialTimeParts(const CString& computed, int& hour, int& minute, int& second);

// ---- computed dates and times ------------------------------------------------------------

// Unit 0 today, 1 days, 2 weeks (from the value when it is a real YYYYMMDD, else today),
// 3 months from today, 4 eight blanks; another unit or an unusable result gives "".
TAMVERO_API CString GetComputedDate(const CString& value, short nBasic, short nVariance, short nIndicator);
// Unit 0 now, 1 seconds, 2 minutes, 3 hours as HHMMSS; 4 six blanks; another unit "".
TAMVERO_API CString GetComputedTime(short nBasic, short nVariance, short nIndicator);
// The same units counted from an eight-digit base (the value when base is empty). Days and
// weeks fail with E_FAIL for a base before 1970 or with a month or day out of range, and
// with E_INVALIDARG when the runtime cannot convert the base; result is then untouched.
TAMVERO_API HRESULT GetBaseComputedDate(const CString& base, const CString& value, short nBasic, short nVariance,
                                        short nIndicator, CString& result);
// Moves a date by count calendar months and searches a real day (backward down, forward
// up into the next month). False when no real day is found.
TAMVERO_API bool ShiftMonths(int& year, int& month, int& day, int count, bool forward);

// ---- stepping ------------------------------------------------------------------------------

// The year and month a year-month field (DateFormat 8 to 11) shows: today's when the value
// is empty, else read from the edit's text. False, both 0, for another format.
TAMVERO_API bool ShownYearMonth(int dateFormat, const CString& value, const CString& editText, int& year, int& month);
// One month before or after; the first day of that month as YYYYMMDD, or "" when it is
// not a real date (year and month keep the stepped numbers).
TAMVERO_API CString StepMonth(int& year, int& month, short bNext);
// The year a year-only field steps to: the shown year (today's when it reads 0) plus or minus one.
TAMVERO_API int StepShownYear(const CString& editText, bool next);
// Moves one time field (unit 1 seconds, 2 minutes, 3 hours) and returns the carry.
TAMVERO_API int GetPrevNextComputedTime(short nBasic, short nVariance, short nIndicator, int& nValue);

struct TimeStep {
  bool Stepped = false; // false for a time format out of range: show 0:00:00, keep the selection
  CString Value;        // the rewritten value string
  int Hour = 0, Minute = 0, Second = 0;
  int SelStart = 0, SelEnd = 0;
};
// Steps the time field under the selection end one unit, with carry into larger fields.
TAMVERO_API TimeStep StepTimeValue(int timeFormat, const CString& value, int selStart, int selEnd, bool next);

} // namespace tamvero
