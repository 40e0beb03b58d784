// The value surface end to end on a real control, on pinned clocks: what the field shows,
// the clamp and the roll-back, the caption methods, stepping and the computed values
// through IDispatch. The date library's own tables hold the arithmetic.
#include "TestHost.h"

using namespace testhost;

class Values : public ControlFixture {};

// A new field shows today, now or nothing by its initial-value unit. Typed dates are
// accepted, clamped into the range or rolled back, in the field's own format (a value kept
// under the previous format is none to roll back to); a complete impossible time becomes
// now, and times keep no last valid value.
TEST_F(Values, InitialAndTypedValuesAreShownClampedOrRolledBack) {
  PinnedClock clock(L"20240105093015");
  struct Case {
    short style, dateFormat;
    const wchar_t *start, *end; // null: the defaults
    short basic;                // 4 starts the field empty, in the designer
    const wchar_t* first;       // typed first (null: nothing)
    short reformat;             // the date format after the first (0: kept)
    const wchar_t* second;      // typed over the whole field (null: nothing)
    const wchar_t *caption, *field, *lastValid;
  };
  const wchar_t *S = L"20100101", *E = L"20201231";
  const Case cases[] = {
      {1, 2, nullptr, nullptr, 0, nullptr, 0, nullptr, L"093015", L"09:30:15", L""},
      {1, 2, nullptr, nullptr, 4, nullptr, 0, nullptr, L"000000", L"00:00:00", L""},
      {0, 2, nullptr, nullptr, 4, nullptr, 0, L"19691231", L"19700101", L"1970/01/01", L"19700101"},
      {0, 2, nullptr, nullptr, 4, nullptr, 0, L"20240230", L"", L"    /  /  ", L""},
      {0, 2, nullptr, nullptr, 0, nullptr, 0, L"20241301", L"20240105", L"2024/01/05", L"20240105"},
      {0, 2, nullptr, nullptr, 4, L"20240105", 4, L"241301", L"", L"  -  -  ", L"20240105"},
      {1, 2, nullptr, nullptr, 0, nullptr, 0, L"256161", L"093015", L"09:30:15", L""},
      {1, 2, nullptr, nullptr, 0, L"256161", 0, L"235959", L"235959", L"23:59:59", L""},
      {0, 4, L"19700101", E, 4, nullptr, 0, L"251231", L"201231", L"20-12-31", L"201231"},
      {0, 9, S, E, 4, nullptr, 0, L"202207", L"202012", L"2020/12", L"202012"},
  };
  auto type = [this](const wchar_t* text) {
    if (!text) return;
    Ctl->Edit.SetSel(0, -1);
    TypeChars(text);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
    Renew();
    Ctl->Style = c.style;
    Ctl->DateFormat = c.dateFormat;
    if (c.start) Ctl->StartTime = c.start, Ctl->EndTime = c.end;
    Ctl->BasicClient = c.basic;
    Create(c.basic != 4);
    type(c.first);
    ASSERT_EQ(c.reformat ? PutLong(L"DateFormat", c.reformat) : S_OK, S_OK);
    type(c.second);
    EXPECT_EQ(Get(L"Caption"), c.caption);
    EXPECT_EQ(Ctl->GetWindowText(), CString(ReadsNonZero(c.caption) ? c.caption : L""));
    EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(c.field));
    EXPECT_EQ(Ctl->LastValidValue, CString(c.lastValid));
  }
}

// The caption, the field's text, CheckCaption and the events, after each call.
TEST_F(Values, CaptionMethodsAndTheCaptionProperty) {
  PinnedClock clock(L"20240105093015");
  Create();
  struct Case {
    const wchar_t *action, *value, *outcome;
  } const cases[] = {
      {L"SetCaptionCtrl", L"20240301", L"20240301|2024/03/01|1 SelSelected"},
      {L"SetCaptionCtrl", L"20240230", L"20240230|2024/02/30|1 SelSelected"}, // not corrected
      {L"SetCaptionCtrl", L"00000000", L"|    /  /  |0 SelSelected"},
      {L"SetCaptionCtrl", L"", L"|    /  /  |0"},
      {L"Caption", L"20240401", L"20240401|2024/04/01|1"},
      {L"Caption", L"abc", L"|    /  /  |0"},
      {L"SetCaptionCtrlEx", L"20240501", L"20240501|2024/05/01|1"},
  };
  for (const auto& c : cases) {
    Rec.Events.clear();
    const std::wstring a = c.action;
    ASSERT_EQ(a == L"Caption"          ? PutString(L"Caption", c.value)
              : a == L"SetCaptionCtrl" ? Call(L"SetCaptionCtrl", {VStr(c.value)})
                                       : Call(L"SetCaptionCtrlEx", {VStr(c.value), VLong(0)}),
              S_OK);
    std::wstring field, check;
    ASSERT_EQ(Call(L"GetCaptionCtrl", {}, &field), S_OK);
    ASSERT_EQ(Call(L"CheckCaption", {}, &check), S_OK);
    std::wstring outcome = Get(L"Caption") + L"|" + field + L"|" + check;
    for (const std::wstring& event : Rec.Events.Texts()) outcome += L" " + event;
    EXPECT_EQ(outcome, c.outcome) << a << " " << c.value;
    EXPECT_TRUE(Ctl->EventsEnabled) << "the guard is restored";
  }
}

TEST_F(Values, GetItemFollowsItsFlagAndTheEnabledState) {
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

// Dates step by their format's unit, report once and leave the caret at the end; times
// step the field under the caret, select it and report nothing. The library's tables
// hold the carries and the month ends.
TEST_F(Values, UpAndDownStepDatesByTheirUnitAndTimesByTheFieldUnderTheCaret) {
  PinnedClock clock(L"20240315120000");
  struct Case {
    short style, dateFormat;
    const wchar_t* start; // set first; "" leaves the field empty
    int caret;
    UINT key;
    const wchar_t *caption, *field;
    bool reported;
    int selStart, selEnd; // -1: the end of the text
  };
  const Case cases[] = {
      {0, 2, L"", 0, VK_DOWN, L"20240314", L"2024/03/14", true, -1, -1},
      {0, 9, L"202412", 0, VK_UP, L"202501", L"2025/01", true, -1, -1},
      {0, 4, L"240105", 0, VK_UP, L"240105", L"24-01-05", false, -1, -1},
      {1, 2, L"105959", 7, VK_UP, L"110000", L"11:00:00", false, 6, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << "/" << c.dateFormat << " " << c.start);
    Recreate(c.style, c.dateFormat, 0, 4);
    if (*c.start) Ctl->MSetCaptionCtrlEx(c.start, FALSE);
    Ctl->RunForm = nullptr;
    Ctl->Edit.SetSel(c.caret, c.caret);
    Rec.Events.clear();
    SendKey(c.key);
    EXPECT_EQ(Get(L"Caption"), c.caption);
    EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(c.field));
    EXPECT_EQ(Rec.Events.Texts(), c.reported ? std::vector<std::wstring>{L"SelSelected"} : std::vector<std::wstring>{});
    const int end = Ctl->Edit.GetWindowText().GetLength();
    EXPECT_EQ(SelOf(Ctl->Edit), std::make_pair(c.selStart < 0 ? end : c.selStart, c.selEnd < 0 ? end : c.selEnd));
  }
}

// The library's own tables hold the arithmetic; here days count from the shown date, the
// base date's arguments keep their order and a failure other than E_FAIL travels with its
// own code, the value untouched.
TEST_F(Values, ComputedValuesThroughIDispatch) {
  PinnedClock clock(L"20240131233000");
  Create();
  ASSERT_EQ(Call(L"SetCaptionCtrlEx", {VStr(L"20240228"), VLong(0)}), S_OK);
  std::wstring date, base, failed = L"<unset>";
  ASSERT_EQ(Call(L"GetComputedDate", {VLong(1), VLong(1), VLong(1)}, &date), S_OK);
  ASSERT_EQ(Call(L"GetBaseComputedDate", {VStr(L"20240301"), VLong(2), VLong(1), VLong(0)}, &base), S_OK);
  EXPECT_EQ(date + L" " + base, L"20240229 20240223");
  CExcepInfo excep;
  EXPECT_EQ(Call(L"GetBaseComputedDate", {VStr(L"30010101"), VLong(1), VLong(1), VLong(1)}, &failed, &excep),
            DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, E_INVALIDARG);
  EXPECT_TRUE(excep.bstrDescription && wcsstr(excep.bstrDescription, L"GetBaseComputedDate"));
  EXPECT_EQ(failed, L"<unset>");
  EXPECT_EQ(Ctl->Caption, CString(L"20240228"));
}

// The year-and-month formats' day from today is the library's table.
TEST_F(Values, CurDateWritesTypesFirstAndValuesOnlyForAValidDate) {
  Create();
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"", L"0 0 0 0"}, {L"20240229", L"1 2024 2 29"}};
  for (const auto& c : cases) {
    if (*c.first)
      Ctl->MSetCaptionCtrlEx(c.first, FALSE);
    else
      Ctl->SetMethodString(19, L"", L"", 0); // clear
    VARIANT parts[3] = {};
    std::vector<VARIANT> args(3);
    for (int i = 0; i < 3; ++i) {
      parts[i].vt = VT_BSTR; // the types are overwritten, the long fields kept
      args[i].vt = VT_BYREF | VT_VARIANT;
      args[i].pvarVal = &parts[i];
    }
    std::wstring outcome;
    ASSERT_EQ(Call(L"GetCurDate", args, &outcome), S_OK);
    for (const VARIANT& part : parts) outcome += L" " + (part.vt == VT_I4 ? std::to_wstring(part.lVal) : L"?");
    EXPECT_EQ(outcome, c.second) << c.first;
  }
  // SetValue with nothing to take keeps the value, through IDispatch and as the host's C++
  // code calls it, with a null address; the library's table holds what it stores otherwise.
  std::wstring answer;
  ASSERT_EQ(Call(L"SetValue", {VStr(L"")}, &answer), S_OK);
  EXPECT_EQ(answer, L"0");
  EXPECT_EQ(Ctl->SetValue(0), 0);
  EXPECT_EQ(Get(L"Caption"), L"20240229");
}
