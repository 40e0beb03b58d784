// Up and Down step a date by its format's unit and a time by the field under the caret.
#include "TestHost.h"

using namespace testhost;

class Stepping : public ControlFixture {};

// Dates step by their format's unit, report once and leave the caret at the end; times
// step the field under the caret with carry, select it and report nothing.
TEST_F(Stepping, DatesByTheirUnitTimesByTheFieldUnderTheCaret) {
  PinnedClock clock(L"20240315120000");
  struct Case {
    short style, dateFormat, timeFormat;
    const wchar_t* start; // set first; "" leaves the field empty
    int caret;
    UINT key;
    const wchar_t* caption;
    const wchar_t* field; // null for a time: its control text is checked instead
    bool reported;
    int selStart, selEnd; // -1: the end of the text
  };
  const Case cases[] = {
      {0, 1, 0, L"20241231", 0, VK_UP, L"20250101", L"2025-01-01", true, -1, -1},
      {0, 2, 0, L"", 0, VK_UP, L"20240316", L"2024/03/16", true, -1, -1},
      {0, 9, 0, L"202412", 0, VK_UP, L"202501", L"2025/01", true, -1, -1},
      {0, 4, 0, L"240105", 0, VK_UP, L"240105", L"24-01-05", false, -1, -1},
      {1, 2, 0, L"105959", 7, VK_UP, L"110000", nullptr, false, 6, 8},
      {5, 2, 2, L"000000", 0, VK_DOWN, L"230000", nullptr, false, 0, 2},
      {1, 2, 3, L"1259", 4, VK_UP, L"1300", nullptr, false, 3, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << "/" << c.dateFormat << "/" << c.timeFormat << " " << c.start);
    Recreate(c.style, c.dateFormat, c.timeFormat, 4);
    if (*c.start) Ctl->MSetCaptionCtrlEx(c.start, FALSE);
    Ctl->RunForm = nullptr;
    Ctl->Edit.SetSel(c.caret, c.caret);
    Rec.Events.clear();
    SendKey(c.key);
    EXPECT_EQ(Get(L"Caption"), c.caption);
    if (c.field) {
      EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(c.field));
    } else { // a time's own control text follows, under the numeric test
      EXPECT_EQ(Ctl->GetWindowText(), CString(ReadsNonZero(c.caption) ? c.caption : L""));
    }
    EXPECT_SEQ(Rec.Events, c.reported ? std::vector<std::wstring>({L"SelSelected"}) : std::vector<std::wstring>());
    const int end = Ctl->Edit.GetWindowText().GetLength();
    EXPECT_EQ(SelOf(Ctl->Edit), std::make_pair(c.selStart < 0 ? end : c.selStart, c.selEnd < 0 ? end : c.selEnd));
  }
}
