// The date and time library on a pinned clock and time zone: the clock, the format tables
// and digit forms, reading and checking values, computed dates and times, and stepping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "CStringPrint.h"
#include "Clock.h"
#include "DateMath.h"

namespace {

using namespace tamvero;

class DateLibrary : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(TamveroSetTimeZone(L"UTC0"));
    Pin(L"20240315102030"); // today's parts differ from every value below
  }
  void TearDown() override {
    TamveroPinClock(nullptr);
    TamveroSetTimeZone(nullptr);
  }
  static void Pin(const wchar_t* instant) { ASSERT_TRUE(TamveroPinClock(instant)) << instant; }
  static DateTimeProps Props(short style, short dateFormat, short timeFormat, int digitCount) {
    DateTimeProps props;
    props.Style = style;
    props.DateFormat = dateFormat;
    props.TimeFormat = timeFormat;
    props.DigitCount = digitCount;
    return props;
  }
  static DateTimeProps DateProps(short dateFormat, int digitCount) { return Props(0, dateFormat, 0, digitCount); }
  // Three parts as one number, so that a table row is checked in one comparison.
  static int Join(int a, int b, int c) { return a * 10000 + b * 100 + c; }
};

TEST_F(DateLibrary, TablesAgreeWithThemselves) {
  for (bool time : {false, true}) {
    const int count = time ? kTimeFormatCount : kDateFormatCount;
    for (int code = -2; code < count + 2; ++code) {
      const FormatEntry* e = time ? TimeFormatEntry(code) : DateFormatEntry(code);
      ASSERT_EQ(e != nullptr, code >= 0 && code < count) << time << " " << code;
      if (!e) continue;
      EXPECT_EQ(std::count(e->Mask, e->Mask + wcslen(e->Mask), L'#'), e->DigitCount) << time << " " << code;
      EXPECT_EQ(static_cast<int>(wcslen(e->ValueForm)), e->DigitCount) << time << " " << code;
    }
  }
}

// The display's digits are empty when the format's parts are all 0 and six zeros for a
// midnight hour-minute field; the value form has no emptiness rule. Null: out of range.
TEST_F(DateLibrary, DisplayDigitsAndValueForms) {
  const bool T = true, D = false;
  struct Case {
    bool time;
    int code, a, b, c; // year, month, day or hour, minute, second
    const wchar_t *display, *value;
  } cases[] = {
      {D, 0, 2024, 1, 5, L"20240105", L"20240105"},
      {D, 5, 2024, 1, 5, L"240105", L"240105"},
      {D, 9, 2024, 1, 5, L"202401", L"202401"},
      {D, 13, 2024, 1, 5, L"2401", L"2401"},
      {D, 17, 2024, 1, 5, L"0105", L"0105"},
      {D, 20, 2024, 1, 5, L"2024", L"2024"},
      {D, 4, 5, 3, 1, L"050301", L"050301"},
      {D, 14, 12345, 3, 1, L"4503", L"4503"},
      {D, 2, 0, 0, 5, L"00000005", L"00000005"},
      {D, 0, 0, 0, 0, L"", L"00000000"},
      {D, 9, 0, 0, 5, L"", L"000000"},
      {D, 17, 2024, 0, 0, L"", L"0000"},
      {D, 20, 0, 12, 31, L"", L"0000"},
      {D, 21, 2024, 1, 5, nullptr, nullptr},
      {D, -1, 2024, 1, 5, nullptr, nullptr},
      {T, 2, 12, 30, 15, L"123015", L"123015"},
      {T, 4, 12, 30, 15, L"1230", L"1230"},
      {T, 8, 12, 30, 15, L"3015", L"3015"},
      {T, 3, 0, 0, 9, L"000000", L"0000"},
      {T, 7, 0, 0, 0, L"0000", L"0000"},
      {T, 9, 1, 2, 3, nullptr, nullptr},
      {T, -1, 1, 2, 3, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.time << " " << c.code << " " << c.a);
    CString display = L"keep", value = L"keep";
    EXPECT_EQ(c.time ? DisplayTimeDigits(c.code, c.a, c.b, c.c, display)
                     : DisplayDateDigits(c.code, c.a, c.b, c.c, display),
              c.display != nullptr);
    EXPECT_EQ(c.time ? FormTimeValue(c.code, c.a, c.b, c.c, value) : FormDateValue(c.code, c.a, c.b, c.c, value),
              c.value != nullptr);
    EXPECT_EQ(display, c.display ? c.display : L"keep");
    EXPECT_EQ(value, c.value ? c.value : L"keep");
  }
}

TEST_F(DateLibrary, GetExceptDateFormatString) {
  struct Case {
    short style, dateFormat, timeFormat;
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {0, 3, 0, L"2024\uB14401\uC66405\uC77C", L"202401\uC66405"}, // a wrong letter stays
      {0, 3, 0, L"2024\uB14401\uC6D405\uC77C", L"20240105"},
      {1, 2, 2, L"12\uC2DC30\uBD8415\uCD08", L"123015"},
      {0, 2, 0, L"12:30", L"12:30"}, // the date mask knows no colon
      {1, 2, 0, L"", L""},
      {0, 21, 0, L"2024/01/05", L"2024/01/05"},
      {4, 2, 9, L"12:30:15", L"12:30:15"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetExceptDateFormatString(Props(c.style, c.dateFormat, c.timeFormat, 8), c.text), c.expected)
        << c.style << "/" << c.dateFormat;
  }
}

TEST_F(DateLibrary, CheckDataFormatCompletesShortDates) {
  struct Case {
    short style, dateFormat;
    int digitCount;
    const wchar_t* value;
    const wchar_t* completed; // null: nothing to do
  } cases[] = {
      {0, 2, 8, L"2024011", L"20240101"}, {0, 2, 8, L"2024 1 5", L"20240105"}, {0, 0, 8, L"2024  5 ", L"20240005"},
      {0, 2, 8, L"20240105", nullptr},    {0, 2, 8, L" 2024010", nullptr},     {0, 2, 8, L"202401", nullptr},
      {0, 2, 8, L"202401055", nullptr},   {0, 5, 6, L"24011", L"240101"},      {3, 9, 6, L"20241", L"202401"},
      {2, 13, 4, L"2 3 ", L"0203"},       {0, 17, 4, L"031", L"0301"},         {0, 20, 4, L"202", nullptr},
      {0, 21, 8, L"2024011", nullptr},    {1, 2, 6, L"12300", nullptr},
  };
  for (const Case& c : cases) {
    CString digits = L"untouched";
    EXPECT_EQ(CheckDataFormat(Props(c.style, c.dateFormat, 0, c.digitCount), c.value, digits), c.completed != nullptr)
        << c.value;
    EXPECT_EQ(digits, c.completed ? c.completed : L"untouched") << c.value;
  }
}

// A pin is a local instant of the zone in force, read back through the runtime within its
// range; text that names no instant changes nothing, and null or "" unpins.
TEST_F(DateLibrary, ClockPinsLocalInstantsRefusesTextThatNamesNoneAndUnpins) {
  const __time64_t kLast = 32535215999LL; // 3000-12-31 23:59:59 UTC, the runtime's last second
  struct Case {
    const wchar_t *zone, *instant;
    __time64_t expected;
  } cases[] = {
      {L"UTC0", L"19700101000000", 0},
      {L"UTC0", L"30001231235959", kLast},
      {L"EST5", L"20240229120000", 1709208000 + 5 * 3600},
      {L"JST-9", L"20240131233000", 1706743800 - 9 * 3600},
  };
  struct tm local;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zone << " " << c.instant);
    ASSERT_TRUE(TamveroSetTimeZone(c.zone));
    ASSERT_TRUE(TamveroPinClock(c.instant));
    EXPECT_EQ(ClockNow(), c.expected);
    ASSERT_TRUE(ClockLocalNow(local));
    CString back;
    back.Format(L"%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min, local.tm_sec);
    EXPECT_EQ(back, c.instant);
  }
  EXPECT_FALSE(ClockLocalTime(kLast + 1, local));
  // Still under JST-9, where the runtime has no instant for the epoch's local midnight.
  const __time64_t pinned = ClockNow();
  for (const wchar_t* bad : {L"19700101000000", L"2024013123300", L"202401312330000", L"2024013123300x",
                             L"2024-1-31 2330", L"20240230120000", L"20230229000000", L"20231301000000",
                             L"20240100000000", L"20240131240000", L"20240131236000", L"20240131235960"}) {
    EXPECT_FALSE(TamveroPinClock(bad)) << bad;
    EXPECT_EQ(ClockNow(), pinned) << bad;
  }
  for (const wchar_t* unpin : {static_cast<const wchar_t*>(nullptr), L""}) {
    ASSERT_TRUE(TamveroPinClock(L"20000101000000"));
    // Between two readings of the real clock, without a tolerance to tune.
    const __time64_t before = _time64(nullptr);
    ASSERT_TRUE(TamveroPinClock(unpin));
    const __time64_t now = ClockNow();
    EXPECT_GE(now, before);
    EXPECT_LE(now, _time64(nullptr));
  }
}

// Dates by style, format group and year range; times by style, whose hours end at 23 or 27.
TEST_F(DateLibrary, DateAndTimeCheckRules) {
  const bool T = true, D = false;
  struct Case {
    bool time;
    short style, dateFormat;
    int a, b, c; // year, month, day or hour, minute, second
    BOOL ok;
  } cases[] = {
      {D, 0, 2, 2024, 2, 29, TRUE},   {D, 0, 2, 2000, 2, 29, TRUE},  {D, 0, 2, 2023, 2, 29, FALSE},
      {D, 0, 2, 2100, 2, 29, FALSE},  {D, 0, 2, 2024, 4, 31, FALSE}, {D, 0, 2, 2024, 4, 30, TRUE},
      {D, 0, 2, 2024, 0, 1, FALSE},   {D, 0, 2, 2024, 13, 1, FALSE}, {D, 0, 2, 2024, 1, 0, FALSE},
      {D, 0, 2, 1969, 12, 31, FALSE}, {D, 0, 2, 1970, 1, 1, TRUE},   {D, 0, 2, 9999, 12, 31, TRUE},
      {D, 0, 8, 2024, 2, 31, TRUE},   {D, 0, 8, 2024, 13, 1, FALSE}, {D, 0, 15, 2024, 2, 0, TRUE},
      {D, 0, 20, 1969, 1, 1, FALSE},  {D, 0, 20, 2024, 6, 99, TRUE}, {D, 0, 16, 2024, 2, 30, FALSE},
      {D, 1, 2, 2024, 1, 5, FALSE},   {D, 5, 2, 2024, 1, 5, FALSE},  {D, 6, 2, 2024, 1, 5, TRUE},
      {T, 1, 0, 23, 59, 59, TRUE},    {T, 1, 0, 24, 0, 0, FALSE},    {T, 4, 0, 0, 0, 0, TRUE},
      {T, 4, 0, -1, 0, 0, FALSE},     {T, 5, 0, 27, 59, 59, TRUE},   {T, 5, 0, 28, 0, 0, FALSE},
      {T, 5, 0, 12, 60, 0, FALSE},    {T, 1, 0, 12, 0, 60, FALSE},   {T, 1, 0, 12, -1, 0, FALSE},
      {T, 4, 0, 12, 0, -1, FALSE},    {T, 0, 0, 12, 0, 0, FALSE},    {T, 2, 0, 12, 0, 0, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << "/" << c.dateFormat << " " << c.a << " " << c.b << " " << c.c);
    EXPECT_EQ(c.time ? TimeCheck(c.style, c.a, c.b, c.c) : DateCheck(Props(c.style, c.dateFormat, 0, 8), c.a, c.b, c.c),
              c.ok);
  }
  DateTimeProps narrow = DateProps(2, 8);
  narrow.MinYear = 2000;
  narrow.MaxYear = 2024;
  EXPECT_FALSE(DateCheck(narrow, 1999, 12, 31));
  EXPECT_FALSE(DateCheck(narrow, 2025, 1, 1));
}

// A complete value is read by its format group, the parts it lacks from today, and judged;
// the placeholders pass under NotCheckDate. An incomplete value is judged on the parts as
// the caller gave them.
TEST_F(DateLibrary, ReadsAndJudgesEveryDateFormatGroup) {
  const BOOL T = TRUE, F = FALSE;
  struct Case {
    short dateFormat;
    int digitCount;
    BOOL notCheckDate;
    const wchar_t* value;
    BOOL ok;
    int year, month, day;
  } cases[] = {
      {0, 8, F, L"20240105", T, 2024, 1, 5},   {3, 8, F, L"20231231", T, 2023, 12, 31},
      {4, 6, F, L"310305", T, 2031, 3, 5},     {7, 6, F, L"990101", T, 2099, 1, 1},
      {8, 6, F, L"202402", T, 2024, 2, 15},    {11, 6, F, L"199912", T, 1999, 12, 15},
      {12, 4, F, L"0305", T, 2003, 5, 15},     {16, 4, F, L"0305", T, 2024, 3, 5},
      {19, 4, F, L"1231", T, 2024, 12, 31},    {20, 4, F, L"2023", T, 2023, 3, 15},
      {2, 8, F, L"2024 1 5", T, 2024, 1, 5},   {2, 8, F, L"2024010", F, -7, -7, -7},
      {4, 6, F, L"20240105", F, -7, -7, -7},   {21, 8, F, L"20240105", F, -7, -7, -7},
      {0, 8, T, L"99999999", T, 9999, 99, 99}, {0, 8, T, L"00000000", T, 0, 0, 0},
      {0, 8, F, L"99999999", F, 9999, 99, 99}, {0, 8, T, L"99990000", F, 9999, 0, 0},
      {0, 8, T, L"99999913", F, 9999, 99, 13}, {4, 6, T, L"999999", F, 2099, 99, 99},
      {8, 6, T, L"999999", T, 9999, 99, 15},   {8, 6, T, L"000000", T, 0, 0, 15},
      {8, 6, T, L"999913", F, 9999, 13, 15},   {12, 4, T, L"0000", F, 2000, 0, 15},
      {16, 4, T, L"0000", T, 2024, 0, 0},      {16, 4, T, L"9999", T, 2024, 99, 99},
      {16, 4, T, L"0099", F, 2024, 0, 99},     {16, 4, T, L"9913", F, 2024, 99, 13},
      {20, 4, T, L"9999", T, 9999, 3, 15},     {20, 4, T, L"0000", T, 0, 3, 15},
  };
  for (const Case& c : cases) {
    DateTimeProps props = DateProps(c.dateFormat, c.digitCount);
    props.NotCheckDate = c.notCheckDate;
    int year = -7, month = -7, day = -7;
    SCOPED_TRACE(testing::Message() << c.dateFormat << " " << c.value << " " << c.notCheckDate);
    EXPECT_EQ(GetCurInputDate(props, c.value, year, month, day), c.ok);
    EXPECT_EQ(Join(year, month, day), Join(c.year, c.month, c.day));
  }
  int year = 2024, month = 2, day = 29; // the caller's numbers
  EXPECT_TRUE(GetCurInputDate(DateProps(2, 8), L"2023", year, month, day));
}

TEST_F(DateLibrary, ReadsAndJudgesEveryTimeFormatGroup) {
  struct Case {
    short style, timeFormat;
    int digitCount;
    const wchar_t* value;
    bool read;
    int hour, minute, second;
    BOOL ok;
  } cases[] = {
      {1, 0, 6, L"123456", true, 12, 34, 56, TRUE},   {5, 2, 6, L"275959", true, 27, 59, 59, TRUE},
      {5, 0, 6, L"280000", true, 28, 0, 0, FALSE},    {1, 0, 6, L"240000", true, 24, 0, 0, FALSE},
      {0, 0, 6, L"120000", true, 12, 0, 0, FALSE},    {4, 3, 4, L"1234", true, 12, 34, 30, TRUE},
      {1, 5, 4, L"2360", true, 23, 60, 30, FALSE},    {1, 6, 4, L"1234", true, 10, 12, 34, TRUE},
      {1, 8, 4, L"6000", true, 10, 60, 0, FALSE},     {1, 0, 6, L"1234", false, -7, -7, -7, FALSE},
      {1, 9, 6, L"123456", false, -7, -7, -7, FALSE},
  };
  for (const Case& c : cases) {
    DateTimeProps props = Props(c.style, 2, c.timeFormat, c.digitCount);
    int hour = -7, minute = -7, second = -7;
    SCOPED_TRACE(testing::Message() << c.style << "/" << c.timeFormat << " " << c.value);
    EXPECT_EQ(ReadTimeValue(props, c.value, hour, minute, second), c.read);
    EXPECT_EQ(Join(hour, minute, second), Join(c.hour, c.minute, c.second));
    EXPECT_EQ(GetCurInputTime(props, c.value, hour, minute, second), c.ok);
  }
}

TEST_F(DateLibrary, IsInputDigit) {
  struct Case {
    const wchar_t* text;
    short count;
    BOOL ok;
  } cases[] = {
      {nullptr, 3, FALSE}, {L"", 0, FALSE},    {L"", 2, FALSE},   {L"ab", 0, TRUE},   {L"12a4", 2, TRUE},
      {L"12a4", 3, FALSE}, {L"1234", 4, TRUE}, {L"12", 3, FALSE}, {L" 12", 1, FALSE}, {L"x", -1, TRUE},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsInputDigit(c.text, c.count), c.ok) << (c.text ? c.text : L"(null)") << " " << c.count;
}

TEST_F(DateLibrary, DateRangeFromBounds) {
  struct Case {
    short style, dateFormat;
    const wchar_t* start;
    const wchar_t* end;
    bool yearsRead;
    int minYear, maxYear;
    bool valid;
  } cases[] = {
      {0, 2, L"19700101", L"99991231", true, 1970, 9999, true},
      {0, 2, L"20240101", L"20231231", true, 2024, 2023, false},
      {0, 2, L"20240601", L"20240101", true, 2024, 2024, false},
      {0, 2, L"2024", L"20241231", false, 1980, 2050, false},
      {0, 2, L"20240101", L"2024123", false, 1980, 2050, false},
      {0, 2, L"20240230", L"20241231", true, 2024, 2024, false},
      {0, 8, L"20240230", L"20241231", true, 2024, 2024, false},
      {1, 2, L"19700101", L"99991231", true, 1970, 9999, false},
  };
  for (const Case& c : cases) {
    DateTimeProps props = Props(c.style, c.dateFormat, 0, 8);
    props.MinYear = 1980;
    props.MaxYear = 2050;
    DateRangeBounds range = ReadDateRange(props, c.start, c.end);
    SCOPED_TRACE(testing::Message() << c.start << "-" << c.end);
    EXPECT_EQ(range.YearsRead, c.yearsRead);
    EXPECT_EQ(range.MinYear * 10000 + range.MaxYear, c.minYear * 10000 + c.maxYear);
    EXPECT_EQ(range.BoundsValid, c.valid);
  }
  DateRangeBounds range = ReadDateRange(DateProps(2, 8), L"20240229", L"20251105");
  ASSERT_TRUE(range.BoundsValid);
  EXPECT_EQ(Join(range.First.wYear, range.First.wMonth, range.First.wDay), 20240229);
  EXPECT_EQ(Join(range.Last.wYear, range.Last.wMonth, range.Last.wDay), 20251105);
  EXPECT_EQ(range.First.wHour + range.Last.wHour, 0);
  SYSTEMTIME first = {}, last = {};
  WidestDateRange(first, last);
  EXPECT_EQ(Join(first.wYear, first.wMonth, first.wDay), 19700101);
  EXPECT_EQ(Join(last.wYear, last.wMonth, last.wDay), 99991231);
}

TEST_F(DateLibrary, SetValueDigitsAndInitialParts) {
  struct Case {
    short style, dateFormat, timeFormat;
    int digitCount;
    const wchar_t* text;
    const wchar_t* stored;
  } cases[] = {
      {0, 2, 0, 8, L"20240105", L"20240105"}, {0, 2, 0, 8, L"2024-01-05", L"00000000"},
      {0, 2, 0, 8, L"2024ab05", L"20240005"}, {2, 4, 0, 6, L"240105", L"240105"},
      {3, 16, 0, 4, L"0305", L"0305"},        {0, 20, 0, 4, L"12", L"0000"},
      {1, 2, 3, 4, L"1230", L"1230"},         {1, 2, 6, 4, L"1230", L"1230"},
      {4, 2, 0, 6, L"99", L"000000"},         {0, 21, 0, 8, L"abc", L"abc"},
      {6, 2, 0, 8, L"2024ab05", L"20240005"}, // an unknown style writes as style 0 does
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetValueDigits(Props(c.style, c.dateFormat, c.timeFormat, c.digitCount), c.text), c.stored)
        << c.style << " " << c.text;
  }

  struct Initial {
    bool time;
    const wchar_t* computed;
    int a, b, c;
  } initials[] = {
      {false, L"20240105", 2024, 1, 5}, {false, L"        ", 0, 0, 0}, {false, L"", 2024, 3, 15},
      {true, L"013000", 1, 30, 0},      {true, L"      ", 0, 0, 0},    {true, L"1", 10, 20, 30},
  };
  for (const Initial& i : initials) {
    int a = -7, b = -7, c = -7;
    if (i.time)
      InitialTimeParts(i.computed, a, b, c);
    else
      InitialDateParts(i.computed, a, b, c);
    EXPECT_EQ(Join(a, b, c), Join(i.a, i.b, i.c)) << i.computed;
  }
}

// Dates count from a shown real date, else from today, or from a base date when one is given
// (a failure leaves the result untouched); times count from now.
TEST_F(DateLibrary, ComputedDatesAndTimes) {
  const wchar_t *M = L"20240131120000", *T = L"20240315102030", *N = L"20240131233000";
  struct Case {
    const wchar_t* now;
    const wchar_t* base;  // set: GetBaseComputedDate
    const wchar_t* value; // null: GetComputedTime
    short unit, count, direction;
    const wchar_t* expected;
    HRESULT hr = S_OK;
  } cases[] = {
      // months count from today, with the day search at month ends
      {M, nullptr, L"20231010", 3, 1, 1, L"20240301"},
      {L"20240331120000", nullptr, L"", 3, 1, 0, L"20240229"},
      {L"20241215120000", nullptr, L"", 3, 1, 1, L"20250115"},
      {L"20240115120000", nullptr, L"", 3, 1, 0, L"20231215"},
      {L"20240115120000", nullptr, L"", 3, 13, 0, L"20221215"},
      {M, nullptr, L"", 3, -1, 1, L"20231231"},
      {M, nullptr, L"", 3, 32767, 0, L""}, // no year 100 to 9999 to land in
      {M, nullptr, L"", 3, 32767, 1, L"47540831"},
      // days and weeks count from a shown real date, else from today
      {T, nullptr, L"20240228", 1, 1, 1, L"20240229"},
      {T, nullptr, L"", 1, -1, 1, L"20240314"},
      {T, nullptr, L"", 1, -1, 0, L"20240316"},
      {T, nullptr, L"20240105", 2, -1, 1, L"20231229"},
      {T, nullptr, L"20240231", 1, 1, 1, L"20240316"},
      {T, nullptr, L"2024031", 1, 1, 1, L"20240316"},
      {T, nullptr, L"99991231", 1, 1, 1, L""},
      {T, nullptr, L"18991229", 1, 2, 1, L"18991231"},
      // before 1899-12-30 the time of day must not shift the day
      {L"20240131180000", nullptr, L"", 2, 6475, 0, L"18991227"},
      {L"20240131180000", nullptr, L"", 2, 32767, 0, L"13960203"},
      // units without counting
      {T, nullptr, L"20240105", 0, 5, 1, L"20240315"},
      {T, nullptr, L"20240105", 4, 5, 1, L"        "},
      {T, nullptr, L"20240105", 5, 1, 1, L""},
      {T, nullptr, L"20240105", -1, 1, 1, L""},
      // times count from now, in every unit
      {N, nullptr, nullptr, 3, 2, 1, L"013000"},
      {N, nullptr, nullptr, 0, 5, 1, L"233000"},
      {N, nullptr, nullptr, 4, 0, 0, L"      "},
      {N, nullptr, nullptr, 7, 0, 0, L""},
      {N, nullptr, nullptr, -1, 0, 0, L""},
      {N, nullptr, nullptr, 1, 30, 1, L"233030"},
      {N, nullptr, nullptr, 2, 31, 0, L"225900"},
      {N, nullptr, nullptr, 1, -30, 1, L"232930"},
      {L"19700101003000", nullptr, nullptr, 3, 1, 0, L"-1-1-1"},
      // from a base date, or from the value when the base is empty
      {T, L"20230231", L"", 1, 0, 1, L"20230303"},
      {T, L"20250101", L"", 1, 1, 0, L"20241231"},
      {T, L"20240105", L"", 2, 2, 1, L"20240119"},
      {T, L"20240105", L"", 1, -5, 1, L"20231231"},
      {T, L"19700102", L"", 1, 1, 0, L"19700101"},
      {T, L"19700101", L"", 1, 1, 0, L"00000000"},
      {T, L"30001231", L"", 1, 1, 1, L"00000000"},
      {T, L"19691231", L"", 1, 1, 1, L"untouched", E_FAIL},
      {T, L"20241301", L"", 1, 1, 1, L"untouched", E_FAIL},
      {T, L"20240100", L"", 2, 1, 1, L"untouched", E_FAIL},
      {T, L"20240132", L"", 1, 1, 1, L"untouched", E_FAIL},
      {T, L"30010101", L"", 1, 1, 1, L"untouched", E_INVALIDARG},
      {T, L"", L"20240105", 0, 0, 0, L"20240105"},
      {T, L"", L"2401", 0, 0, 0, L""},
      {T, L"2024", L"20240105", 4, 0, 0, L""},
      {T, L"20240105", L"", 4, 0, 0, L"        "},
      {T, L"2024ab05", L"", 0, 0, 0, L"20240005"},
      {T, L"20240105", L"", 5, 1, 1, L""},
      {T, L"20230331", L"19990101", 3, 1, 0, L"20230228"}, // the base, not the value
      {T, L"20241301", L"", 3, 1, 1, L""},
      {T, L"99991215", L"", 3, 1, 1, L""}, // the forward day search gives up
  };
  for (const Case& c : cases) {
    Pin(c.now);
    SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
    CString result = L"untouched";
    HRESULT hr = S_OK;
    if (c.base)
      hr = GetBaseComputedDate(c.base, c.value, c.unit, c.count, c.direction, result);
    else
      result = c.value ? GetComputedDate(c.value, c.unit, c.count, c.direction)
                       : GetComputedTime(c.unit, c.count, c.direction);
    EXPECT_EQ(hr, c.hr);
    EXPECT_EQ(result, c.expected);
  }
  // East of Greenwich, local midnight of 1 January 1970 has no seconds.
  ASSERT_TRUE(TamveroSetTimeZone(L"JST-9"));
  CString result = L"untouched";
  EXPECT_EQ(GetBaseComputedDate(L"19700101", L"", 1, 1, 1, result), E_INVALIDARG);
  EXPECT_EQ(result, L"untouched");
}

TEST_F(DateLibrary, MonthSteps) {
  struct Case {
    int year, month;
    short next;
    int newYear, newMonth;
    const wchar_t* expected;
  } cases[] = {
      {2024, 12, 1, 2025, 1, L"20250101"}, {2024, 1, 0, 2023, 12, L"20231201"}, {2024, 3, 0, 2024, 2, L"20240201"},
      {2024, 6, 7, 2024, 7, L"20240701"},  {9999, 12, 1, 10000, 1, L""},        {100, 1, 0, 99, 12, L""},
      {2024, 0, 0, 2023, 11, L"20231101"}, {2024, 99, 1, 2032, 4, L"20320401"},
  };
  for (const Case& c : cases) {
    int year = c.year, month = c.month;
    EXPECT_EQ(StepMonth(year, month, c.next), c.expected) << c.year << "-" << c.month << " " << c.next;
    EXPECT_EQ(year * 100 + month, c.newYear * 100 + c.newMonth) << c.year << "-" << c.month << " " << c.next;
  }

  struct Shown {
    int dateFormat;
    const wchar_t* value;
    const wchar_t* editText;
    bool ok;
    int year, month;
  } shown[] = {
      {9, L"", L"", true, 2024, 3},
      {9, L"202311", L"2023/11", true, 2023, 11},
      {11, L"202311", L"2023\uB14411\uC6D4", true, 2023, 11},
      {8, L"202311", L"2023-1 ", true, 2023, 1},
      {2, L"20231105", L"2023/11/05", false, 0, 0},
  };
  for (const Shown& s : shown) {
    int year = -7, month = -7;
    EXPECT_EQ(ShownYearMonth(s.dateFormat, s.value, s.editText, year, month), s.ok) << s.editText;
    EXPECT_EQ(year * 100 + month, s.year * 100 + s.month) << s.editText;
  }

  struct Year {
    const wchar_t* editText;
    bool next;
    int expected;
  } years[] = {
      {L"2024", true, 2025}, {L"2024", false, 2023}, {L"", true, 2025}, {L"0000", false, 2023}, {L"99", true, 100}};
  for (const Year& y : years) EXPECT_EQ(StepShownYear(y.editText, y.next), y.expected) << y.editText;
}

TEST_F(DateLibrary, TimeFieldCarry) {
  struct Case {
    short unit, count, direction;
    int value;
    int newValue, carry;
  } cases[] = {
      {1, 1, 1, 59, 0, 1},  {3, 1, 0, 0, 23, -1},  {2, 1, 1, 30, 31, 0}, {3, 1, 1, 23, 0, 1},
      {1, 1, 0, 0, 59, -1}, {2, 0, 0, 17, 17, 0},  {1, 61, 1, 0, 1, 1},  {1, 125, 0, 0, 55, -3},
      {3, 49, 1, 23, 0, 3}, {2, -1, 1, 0, 59, -1}, {0, 1, 1, 59, 59, 0}, {4, 1, 1, 7, 7, 0},
  };
  for (const Case& c : cases) {
    int value = c.value;
    SCOPED_TRACE(testing::Message() << c.unit << "," << c.count << "," << c.direction << "," << c.value);
    EXPECT_EQ(GetPrevNextComputedTime(c.unit, c.count, c.direction, value), c.carry);
    EXPECT_EQ(value, c.newValue);
  }
}

TEST_F(DateLibrary, TimeStepping) {
  struct Case {
    int timeFormat;
    const wchar_t* value;
    int selStart, selEnd;
    bool next;
    const wchar_t* stepped;
    int hour, minute, second;
    int newStart, newEnd;
  } cases[] = {
      {0, L"105959", 8, 8, true, L"110000", 11, 0, 0, 6, 8},   {0, L"231500", 0, 0, true, L"001500", 0, 15, 0, 0, 2},
      {0, L"000000", 0, 2, false, L"230000", 23, 0, 0, 0, 2},  {1, L"100059", 7, 7, true, L"100100", 10, 1, 0, 6, 8},
      {2, L"100000", 6, 8, false, L"095959", 9, 59, 59, 6, 8}, {0, L"123456", 3, 4, true, L"123556", 12, 35, 56, 3, 5},
      {0, L"235959", 6, 6, true, L"000000", 0, 0, 0, 6, 8},    {3, L"1259", 4, 4, true, L"1300", 13, 0, 0, 3, 5},
      {4, L"2359", 7, 7, true, L"0000", 0, 0, 0, 3, 5},        {5, L"0000", 1, 1, false, L"2300", 23, 0, 0, 0, 2},
      {8, L"5959", 4, 4, true, L"0000", 0, 0, 0, 3, 5},        {6, L"0000", 0, 0, false, L"5900", 0, 59, 0, 0, 2},
      {7, L"1030", 5, 5, false, L"1029", 0, 10, 29, 3, 5},     {0, L"", 8, 8, true, L"    01", 0, 0, 1, 6, 8},
      {0, L"1234", 0, 0, true, L"131234", 13, 12, 34, 0, 2},   {9, L"123456", 2, 4, true, L"123456", 0, 0, 0, 2, 4},
  };
  for (const Case& c : cases) {
    TimeStep step = StepTimeValue(c.timeFormat, c.value, c.selStart, c.selEnd, c.next);
    SCOPED_TRACE(testing::Message() << c.timeFormat << " [" << c.value << "] " << c.selEnd << " " << c.next);
    EXPECT_EQ(step.Stepped, c.timeFormat <= 8); // a format outside the table steps nothing
    EXPECT_EQ(step.Value, c.stepped);
    EXPECT_EQ(Join(step.Hour, step.Minute, step.Second), Join(c.hour, c.minute, c.second));
    EXPECT_EQ(step.SelStart * 10 + step.SelEnd, c.newStart * 10 + c.newEnd);
  }
}

} // namespace
