// Up and Down step a date by its format's unit and a time by the field under the caret.
#include "TestHost.h"

using namespace testhost;

class Stepping : public ControlFixture {};

TEST_F(Stepping, DatesStepByDayMonthOrYearAndReportOnce) {
  PinnedClock clock(L"20240315120000");
  struct Case {
    short dateFormat;
    const wchar_t* start; // set first; "" leaves the field empty
    UINT key;
    const wchar_t* caption;
    const wchar_t* field;
    bool reported;
  };
  const Case cases[] = {
      {1, L"20241231", VK_UP, L"20250101", L"2025-01-01", true}, {2, L"", VK_UP, L"20240316", L"2024/03/16", true},
      {9, L"202412", VK_UP, L"202501", L"2025/01", true},        {20, L"", VK_DOWN, L"2023", L"2023", true},
      {4, L"240105", VK_UP, L"240105", L"24-01-05", false},      {17, L"0105", VK_DOWN, L"0105", L"01/05", false},
  };
  for (const auto& c : cases) {
    Recreate(0, c.dateFormat, 0, 4);
    if (*c.start) Ctl->MSetCaptionCtrlEx(c.start, FALSE);
    Ctl->RunForm = nullptr;
    Ctl->Edit.SetSel(0, 0);
    Rec.Events.clear();
    SendKey(c.key);
    EXPECT_EQ(Get(L"Caption"), c.caption) << c.dateFormat << " " << c.start;
    EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(c.field)) << c.dateFormat << " " << c.start;
    EXPECT_SEQ(Rec.Events, c.reported ? std::vector<std::wstring>({L"SelSelected"}) : std::vector<std::wstring>());
    int s = -1, e = -1;
    Ctl->Edit.GetSel(s, e);
    int end = Ctl->Edit.GetWindowText().GetLength();
    EXPECT_EQ(std::make_pair(s, e), std::make_pair(end, end)) << c.dateFormat << " " << c.start;
  }
}

TEST_F(Stepping, TimesStepTheFieldUnderTheCaretWithCarry) {
  PinnedClock clock(L"20240315120000");
  struct Case {
    short style, timeFormat;
    const wchar_t* start;
    int caret;
    UINT key;
    const wchar_t* caption;
    int selStart, selEnd;
  };
  const Case cases[] = {
      {1, 0, L"105959", 7, VK_UP, L"110000", 6, 8},
      {5, 2, L"000000", 0, VK_DOWN, L"230000", 0, 2},
      {1, 3, L"1259", 4, VK_UP, L"1300", 3, 5},
      {1, 6, L"0000", 0, VK_DOWN, L"5900", 0, 2},
  };
  for (const auto& c : cases) {
    Recreate(c.style, 2, c.timeFormat);
    Ctl->MSetCaptionCtrlEx(c.start, FALSE);
    Ctl->Edit.SetSel(c.caret, c.caret);
    Rec.Events.clear();
    SendKey(c.key);
    EXPECT_EQ(Get(L"Caption"), c.caption) << c.timeFormat << " " << c.start << " caret " << c.caret;
    // The control's own text follows, under the numeric test.
    EXPECT_EQ(Ctl->GetWindowText(), CString(ReadsNonZero(c.caption) ? c.caption : L""));
    int s = -1, e = -1;
    Ctl->Edit.GetSel(s, e);
    EXPECT_EQ(std::make_pair(s, e), std::make_pair(c.selStart, c.selEnd)) << c.start << " caret " << c.caret;
    EXPECT_TRUE(Rec.Events.empty()) << c.start;
  }
}

TEST_F(Stepping, ADisabledControlIsNotSteppedOrOpenedByKeys) {
  PinnedClock clock(L"20240315120000");
  Create();
  Ctl->MSetCaptionCtrlEx(L"20240315", FALSE);
  ASSERT_EQ(PutLong(L"Enabled", 0), S_OK);
  Rec.Events.clear();
  for (UINT key : {VK_UP, VK_DOWN, VK_F4}) SendKey(key);
  EXPECT_EQ(Get(L"Caption"), L"20240315");
  EXPECT_FALSE(Ctl->IsCalendarVisible());
  EXPECT_TRUE(Rec.Events.empty());
  ASSERT_EQ(PutLong(L"Enabled", 1), S_OK);
  SendKey(VK_UP);
  EXPECT_EQ(Get(L"Caption"), L"20240316");
}
