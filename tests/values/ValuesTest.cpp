// The value surface end to end on a real control, on pinned clocks: what the field shows,
// the clamp and the roll-back, the caption methods, stepping and the computed values
// through IDispatch. The date library's own tables hold the arithmetic.
#include "TestHost.h"

using namespace testhost;

namespace {
using Strings = std::vector<std::wstring>;
} // namespace

class Values : public ControlFixture {};

// The formats' digit forms are the library's; here each initial-value unit reaches the field.
TEST_F(Values, NewControlsShowTodayOrNow) {
  PinnedClock clock(L"20240105093015");
  struct Case {
    short style, dateFormat, timeFormat, basic;
    const wchar_t* caption;
  };
  const Case cases[] = {
      {0, 0, 0, 0, L"20240105"},
      {0, 2, 0, 4, L""},
      {1, 2, 0, 0, L"093015"},
      {1, 2, 0, 4, L"000000"},
  };
  for (const auto& c : cases) {
    Recreate(c.style, c.dateFormat, c.timeFormat, c.basic);
    EXPECT_EQ(Get(L"Caption"), c.caption) << c.style << "/" << c.dateFormat << "/" << c.timeFormat << "/" << c.basic;
  }
}

// Typed dates are accepted, clamped into the range or rolled back, in the field's own
// format; a complete impossible time becomes now, and times keep no last valid value.
TEST_F(Values, TypedValuesAreAcceptedClampedOrRolledBack) {
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
      {0, 2, nullptr, nullptr, 4, nullptr, L"19691231", L"19700101", L"1970/01/01", L"19700101"},
      {0, 2, nullptr, nullptr, 4, nullptr, L"20240230", L"", L"    /  /  ", L""},
      {0, 2, nullptr, nullptr, 0, nullptr, L"20241301", L"20240105", L"2024/01/05", L"20240105"},
      {1, 2, nullptr, nullptr, 0, nullptr, L"256161", L"093015", L"09:30:15", L""},
      {1, 2, nullptr, nullptr, 0, L"256161", L"235959", L"235959", L"23:59:59", L""},
      {0, 4, L"19700101", E, 4, nullptr, L"251231", L"201231", L"20-12-31", L"201231"},
      {0, 9, S, E, 4, nullptr, L"202207", L"202012", L"2020/12", L"202012"},
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

TEST_F(Values, CaptionMethodsAndTheCaptionProperty) {
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
      {0, 2, 0, L"", 0, VK_DOWN, L"20240314", L"2024/03/14", true, -1, -1},
      {0, 9, 0, L"202412", 0, VK_UP, L"202501", L"2025/01", true, -1, -1},
      {0, 4, 0, L"240105", 0, VK_UP, L"240105", L"24-01-05", false, -1, -1},
      {1, 2, 0, L"105959", 7, VK_UP, L"110000", nullptr, false, 6, 8},
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

// The library's own tables hold the arithmetic; here days count from the shown date, the
// base date's arguments keep their order and a failure other than E_FAIL travels with its
// own code, the value untouched.
TEST_F(Values, ComputedValuesThroughIDispatch) {
  PinnedClock clock(L"20240131233000");
  Create();
  ASSERT_EQ(Call(L"SetCaptionCtrlEx", {VStr(L"20240228"), VLong(0)}), S_OK);
  struct {
    const wchar_t* method;
    const wchar_t* base; // for GetBaseComputedDate
    short basic, variance, indicator;
    HRESULT hr, scode;
    const wchar_t* result;
  } const cases[] = {
      {L"GetComputedDate", nullptr, 1, 1, 1, S_OK, S_OK, L"20240229"},
      {L"GetBaseComputedDate", L"20240301", 2, 1, 0, S_OK, S_OK, L"20240223"},
      {L"GetBaseComputedDate", L"30010101", 1, 1, 1, DISP_E_EXCEPTION, E_INVALIDARG, L"<unset>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.method << " " << c.basic << "," << c.variance << "," << c.indicator);
    std::vector<VARIANT> args;
    if (c.base) args.push_back(VStr(c.base));
    for (short v : {c.basic, c.variance, c.indicator}) args.push_back(VLong(v));
    std::wstring result = L"<unset>";
    CExcepInfo excep;
    EXPECT_EQ(Call(c.method, args, &result, &excep), c.hr);
    EXPECT_EQ(excep.scode, c.scode);
    EXPECT_EQ(result, c.result);
    EXPECT_TRUE(c.hr == S_OK || (excep.bstrDescription && wcsstr(excep.bstrDescription, c.method)));
    EXPECT_EQ(Ctl->Caption, CString(L"20240228"));
  }
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
