// The value path end to end on a real control: what the field shows, what the edit
// reports, the clamp and the roll-back, on pinned clocks.
#include "TestHost.h"

using namespace testhost;

class ValuePath : public ControlFixture {};

TEST_F(ValuePath, NewControlsShowTodayOrNowInEveryFormat) {
  PinnedClock clock(L"20240105093015");
  struct Case {
    short style, dateFormat, timeFormat, basic;
    const wchar_t* caption;
  };
  const Case cases[] = {
      {0, 0, 0, 0, L"20240105"}, {0, 4, 0, 0, L"240105"}, {0, 9, 0, 0, L"202401"}, {0, 17, 0, 0, L"0105"},
      {0, 2, 0, 4, L""},         {1, 2, 0, 0, L"093015"}, {5, 2, 6, 0, L"3015"},   {1, 2, 0, 4, L"000000"},
  };
  for (const auto& c : cases) {
    Recreate(c.style, c.dateFormat, c.timeFormat, c.basic);
    EXPECT_EQ(Get(L"Caption"), c.caption) << c.style << "/" << c.dateFormat << "/" << c.timeFormat << "/" << c.basic;
  }
}

namespace {
using Strings = std::vector<std::wstring>;
} // namespace

// Typed dates are accepted, clamped into the range or rolled back, in the field's own
// format; a complete impossible time becomes now, and times keep no last valid value.
TEST_F(ValuePath, TypedValuesAreAcceptedClampedOrRolledBack) {
  PinnedClock clock(L"20240105093015");
  struct Case {
    short style, dateFormat;
    const wchar_t *start, *end; // null: the defaults
    short basic;                // 4 starts the field empty, in the designer
    const wchar_t* first;       // typed first (null: nothing)
    const wchar_t* second;      // typed over the whole field
    const wchar_t *caption, *field, *lastValid;
  };
  const wchar_t *S = L"20100101", *E = L"20201231";
  const Case cases[] = {
      {0, 2, nullptr, nullptr, 4, nullptr, L"20240229", L"20240229", L"2024/02/29", L"20240229"},
      {0, 2, nullptr, nullptr, 4, nullptr, L"19691231", L"19700101", L"1970/01/01", L"19700101"},
      {0, 2, nullptr, nullptr, 4, nullptr, L"20240230", L"", L"    /  /  ", L""},
      {0, 2, nullptr, nullptr, 4, L"20240105", L"20230229", L"20240105", L"2024/01/05", L"20240105"},
      {0, 2, nullptr, nullptr, 0, nullptr, L"20241301", L"20240105", L"2024/01/05", L"20240105"},
      {1, 2, nullptr, nullptr, 0, nullptr, L"256161", L"093015", L"09:30:15", L""},
      {1, 2, nullptr, nullptr, 0, L"256161", L"235959", L"235959", L"23:59:59", L""},
      {0, 4, L"19700101", E, 4, nullptr, L"251231", L"201231", L"20-12-31", L"201231"},
      {0, 4, S, L"99991231", 4, nullptr, L"050101", L"100101", L"10-01-01", L"100101"},
      {0, 9, S, E, 4, nullptr, L"202207", L"202012", L"2020/12", L"202012"},
      {0, 2, S, E, 4, nullptr, L"20220701", L"20201231", L"2020/12/31", L"20201231"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << "/" << c.dateFormat << " " << c.second);
    Renew();
    Ctl->Style = c.style;
    Ctl->DateFormat = c.dateFormat;
    if (c.start) Ctl->StartTime = c.start, Ctl->EndTime = c.end;
    Ctl->BasicClient = c.basic;
    Create(c.basic != 4);
    for (const wchar_t* typed : {c.first, c.second}) {
      if (!typed) continue;
      Ctl->Edit.SetSel(0, -1);
      TypeChars(typed);
    }
    EXPECT_EQ(Get(L"Caption"), c.caption);
    EXPECT_EQ(Ctl->GetWindowText(), CString(ReadsNonZero(c.caption) ? c.caption : L""));
    EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(c.field));
    EXPECT_EQ(Ctl->LastValidValue, CString(c.lastValid));
  }

  // A value kept under the previous format is no value to roll back to.
  Renew();
  Ctl->BasicClient = 4;
  Create(false);
  Ctl->Edit.SetSel(0, -1);
  TypeChars(L"20240105");
  ASSERT_EQ(Ctl->LastValidValue, CString(L"20240105"));
  ASSERT_EQ(PutLong(L"DateFormat", 4), S_OK);
  Ctl->Edit.SetSel(0, -1);
  TypeChars(L"241301");
  EXPECT_EQ(Get(L"Caption"), L"");
  EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(L"  -  -  "));
}

TEST_F(ValuePath, CaptionMethodsAndTheCaptionProperty) {
  PinnedClock clock(L"20240105093015");
  Create();
  struct Case {
    const wchar_t* action;
    const wchar_t* value;
    const wchar_t *caption, *field;
    Strings events;
  };
  const Case cases[] = {
      {L"SetCaptionCtrl", L"20240301", L"20240301", L"2024/03/01", {L"SelSelected"}},
      {L"SetCaptionCtrl", L"20240230", L"20240230", L"2024/02/30", {L"SelSelected"}}, // not corrected
      {L"SetCaptionCtrl", L"00000000", L"", L"    /  /  ", {L"SelSelected"}},
      {L"SetCaptionCtrl", L"", L"", L"    /  /  ", {}},
      {L"Caption", L"20240401", L"20240401", L"2024/04/01", {}},
      {L"Caption", L"abc", L"", L"    /  /  ", {}},
      {L"SetCaptionCtrlEx0", L"20240501", L"20240501", L"2024/05/01", {}},
  };
  for (const auto& c : cases) {
    Rec.Events.clear();
    std::wstring a = c.action;
    HRESULT hr = E_UNEXPECTED;
    if (a == L"SetCaptionCtrl") hr = Call(L"SetCaptionCtrl", {VStr(c.value)});
    if (a == L"SetCaptionCtrlEx0") hr = Call(L"SetCaptionCtrlEx", {VStr(c.value), VLong(0)});
    if (a == L"Caption") hr = PutString(L"Caption", c.value);
    ASSERT_EQ(hr, S_OK) << a;
    EXPECT_EQ(Get(L"Caption"), c.caption) << a << " " << c.value;
    std::wstring field;
    ASSERT_EQ(Call(L"GetCaptionCtrl", {}, &field), S_OK);
    EXPECT_EQ(field, c.field) << a << " " << c.value;
    EXPECT_SEQ(Rec.Events, c.events) << a << " " << c.value;
    EXPECT_TRUE(Ctl->EventsEnabled) << "the guard is restored";
    std::wstring check;
    ASSERT_EQ(Call(L"CheckCaption", {}, &check), S_OK);
    EXPECT_EQ(check, std::wstring(c.caption).empty() ? L"0" : L"1") << a << " " << c.value;
  }
}

TEST_F(ValuePath, GetItemFollowsItsFlagAndTheEnabledState) {
  Create();
  struct {
    const wchar_t* item;
    short flag;
    BOOL enabled;
    const wchar_t* result;
  } const cases[] = {{L"x", 1, TRUE, L""},  {L"x", 2, TRUE, L"x"}, {L"x", 3, TRUE, L"x"},
                     {L"x", 2, FALSE, L""}, {L"", 2, TRUE, L""},   {L"x", 0, TRUE, L""}};
  for (const auto& c : cases) {
    Ctl->Item = c.item;
    Ctl->ItemFlag = c.flag;
    Ctl->Enabled = c.enabled;
    std::wstring result = L"<unset>";
    ASSERT_EQ(Call(L"GetItem", {}, &result), S_OK);
    EXPECT_EQ(result, c.result) << c.item << " " << c.flag << " " << c.enabled;
  }
}
