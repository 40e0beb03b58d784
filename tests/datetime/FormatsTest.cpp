// Format tables, display digit forms, mask stripping and the completion of short dates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "CStringPrint.h"
#include "Formats.h"

namespace {

using namespace tamvero;

TEST(Formats, TablesAgreeWithThemselves) {
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
TEST(Formats, DisplayDigitsAndValueForms) {
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
      {T, 0, 12, 30, 15, L"123015", L"123015"},
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

TEST(Formats, GetExceptDateFormatString) {
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
