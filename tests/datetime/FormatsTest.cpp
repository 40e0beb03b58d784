// Format tables, display digit forms, mask stripping and the completion of short dates.
#include <gtest/gtest.h>

#include <cwchar>

#include "CStringPrint.h"
#include "Formats.h"

namespace {

using namespace tamvero;

int CountDigitPositions(const wchar_t* mask) {
  int n = 0;
  for (; *mask; ++mask) n += *mask == L'#';
  return n;
}

TEST(Formats, TablesAgreeWithThemselves) {
  for (bool time : {false, true}) {
    const int count = time ? kTimeFormatCount : kDateFormatCount;
    for (int code = -2; code < count + 2; ++code) {
      const FormatEntry* e = time ? TimeFormatEntry(code) : DateFormatEntry(code);
      ASSERT_EQ(e != nullptr, code >= 0 && code < count) << time << " " << code;
      if (!e) continue;
      EXPECT_EQ(CountDigitPositions(e->Mask), e->DigitCount) << time << " " << code;
      EXPECT_EQ(static_cast<int>(wcslen(e->ValueForm)), e->DigitCount) << time << " " << code;
    }
  }
}

TEST(Formats, DisplayDateDigits) {
  struct Case {
    int code, year, month, day;
    bool shown;
    const wchar_t* digits;
  } cases[] = {
      {0, 2024, 1, 5, true, L"20240105"},
      {5, 2024, 1, 5, true, L"240105"},
      {9, 2024, 1, 5, true, L"202401"},
      {13, 2024, 1, 5, true, L"2401"},
      {17, 2024, 1, 5, true, L"0105"},
      {20, 2024, 1, 5, true, L"2024"},
      {4, 5, 3, 1, true, L"050301"},
      {14, 12345, 3, 1, true, L"4503"},
      {2, 0, 0, 5, true, L"00000005"},
      {9, 0, 0, 5, true, L""},
      {17, 2024, 0, 0, true, L""},
      {20, 0, 12, 31, true, L""},
      {0, 0, 0, 0, true, L""},
      {15, 0, 0, 0, true, L""},
      {21, 2024, 1, 5, false, L"keep"},
      {-1, 2024, 1, 5, false, L"keep"},
  };
  for (const Case& c : cases) {
    CString digits = L"keep";
    EXPECT_EQ(DisplayDateDigits(c.code, c.year, c.month, c.day, digits), c.shown) << c.code;
    EXPECT_EQ(digits, c.digits) << c.code << " " << c.year;
  }
}

TEST(Formats, DisplayTimeAndValueForms) {
  struct Case {
    int code, hour, minute, second;
    const wchar_t* display; // null: out of range
    const wchar_t* value;
  } cases[] = {
      {0, 0, 0, 0, L"000000", L"000000"},    {7, 0, 0, 0, L"0000", L"0000"},    {3, 0, 0, 9, L"000000", L"0000"},
      {0, 12, 30, 15, L"123015", L"123015"}, {4, 12, 30, 15, L"1230", L"1230"}, {8, 12, 30, 15, L"3015", L"3015"},
      {2, 27, 5, 9, L"270509", L"270509"},   {9, 1, 2, 3, nullptr, nullptr},    {-1, 1, 2, 3, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    CString display = L"keep", value = L"keep";
    EXPECT_EQ(DisplayTimeDigits(c.code, c.hour, c.minute, c.second, display), c.display != nullptr) << c.code;
    EXPECT_EQ(FormTimeValue(c.code, c.hour, c.minute, c.second, value), c.value != nullptr) << c.code;
    EXPECT_EQ(display, c.display ? c.display : L"keep") << c.code;
    EXPECT_EQ(value, c.value ? c.value : L"keep") << c.code;
  }
  // The value form has no emptiness rule.
  CString zeros;
  ASSERT_TRUE(FormDateValue(2, 0, 0, 0, zeros));
  EXPECT_EQ(zeros, L"00000000");
  ASSERT_TRUE(FormDateValue(12, 2031, 3, 0, zeros));
  EXPECT_EQ(zeros, L"3103");
}

TEST(Formats, GetExceptDateFormatString) {
  struct Case {
    short style, dateFormat, timeFormat;
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {0, 2, 0, L"2024/01/05", L"20240105"},
      {0, 3, 0, L"2024\uB14401\uC66405\uC77C", L"202401\uC66405"}, // a wrong letter stays
      {0, 3, 0, L"2024\uB14401\uC6D405\uC77C", L"20240105"},
      {2, 19, 0, L"03\uC6D405\uC77C", L"0305"},
      {1, 2, 2, L"12\uC2DC30\uBD8415\uCD08", L"123015"},
      {5, 2, 0, L"27:30:15", L"273015"},
      {0, 2, 0, L"12:30", L"12:30"}, // the date mask knows no colon
      {1, 2, 0, L"", L""},
      {0, 21, 0, L"2024/01/05", L"2024/01/05"},
      {4, 2, 9, L"12:30:15", L"12:30:15"},
  };
  for (const Case& c : cases) {
    DateTimeProps props;
    props.Style = c.style;
    props.DateFormat = c.dateFormat;
    props.TimeFormat = c.timeFormat;
    EXPECT_EQ(GetExceptDateFormatString(props, c.text), c.expected) << c.style << "/" << c.dateFormat;
  }
}

TEST(Formats, CheckDataFormatCompletesShortDates) {
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
    DateTimeProps props;
    props.Style = c.style;
    props.DateFormat = c.dateFormat;
    props.DigitCount = c.digitCount;
    CString digits = L"untouched";
    EXPECT_EQ(CheckDataFormat(props, c.value, digits), c.completed != nullptr) << c.value;
    EXPECT_EQ(digits, c.completed ? c.completed : L"untouched") << c.value;
  }
}

} // namespace
