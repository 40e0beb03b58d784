// Applying the style and the formats to the field: masks, digit counts and the completion
// of a date left one digit short when the field loses the focus.
#include "TestHost.h"

using namespace testhost;

namespace {
// The empty field shows the mask with blanks for its digit positions.
CString EmptyField(const wchar_t* mask) {
  CString s(mask);
  s.Replace(L'#', L' ');
  return s;
}
} // namespace

class Formats : public ControlFixture {
protected:
  CString ShownEmpty() {
    Ctl->SetMethodString(19, L"", L"", 0);
    return Ctl->Edit.GetWindowText();
  }
};

TEST_F(Formats, TheStyleChoosesTheFormatThatGivesTheMaskAndDigitCount) {
  Create();
  struct Case {
    short style, dateFormat, timeFormat;
    const wchar_t* mask;
    int digits;
  };
  const Case cases[] = {
      {0, 20, 0, L"####", 4},
      // Out of range: the previous mask and count stay.
      {0, 21, 0, L"####", 4},
      {0, -1, 0, L"####", 4},
      {0, 2, 0, L"####/##/##", 8},
      // Time styles take the time format, date styles the date format.
      {1, 2, 2, L"##\uC2DC##\uBD84##\uCD08", 6},
      {2, 9, 0, L"####/##", 6},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(PutLong(L"Style", c.style), S_OK);
    ASSERT_EQ(PutLong(L"DateFormat", c.dateFormat), S_OK);
    ASSERT_EQ(PutLong(L"TimeFormat", c.timeFormat), S_OK);
    EXPECT_EQ(ShownEmpty(), EmptyField(c.mask)) << c.style << "/" << c.dateFormat << "/" << c.timeFormat;
    EXPECT_EQ(Ctl->DigitCount, c.digits) << c.style << "/" << c.dateFormat << "/" << c.timeFormat;
    EXPECT_EQ(Ctl->Edit.FullLength, c.digits);
    EXPECT_EQ(Get(L"DateFormat"), std::to_wstring(c.dateFormat)); // stored as written
  }
}

TEST_F(Formats, LeavingTheFieldCompletesADateOneDigitShortOrWithBlanks) {
  PinnedClock clock(L"20240315120000");
  struct {
    short dateFormat;
    const wchar_t* typed;
    const wchar_t* caption;
  } const cases[] = {
      {2, L"2024011", L"20240101"},
      {4, L"24031", L"240301"},
      {9, L"20241", L"202401"},
      {2, L"20240105", L"20240105"},
  };
  for (const auto& c : cases) {
    Recreate(0, c.dateFormat, 0, 4);
    CWnd other;
    other.CreateSystem(L"EDIT", 0, L"", WS_CHILD | WS_VISIBLE, CRect(10, 200, 100, 220), FormWindow(), 7);
    Ctl->MSetFocus();
    Ctl->Edit.SetSel(0, -1);
    TypeChars(c.typed);
    other.SetFocus();
    EXPECT_EQ(Get(L"Caption"), c.caption) << c.typed;
  }
  // Blanks inside a full-length value are filled too.
  Ctl->MSetFocus();
  Ctl->Edit.SetWindowText(L"2024 3 5");
  ::SetFocus(FormWindow());
  EXPECT_EQ(Get(L"Caption"), L"20240305");
}
