// The value surface as a host drives it through IDispatch, on pinned clocks.
#include "TestHost.h"

using namespace testhost;

class Values : public ControlFixture {};

// The library's own tables hold the arithmetic and the every-method script each method's
// dispatch; here days count from the shown date and the base date's arguments keep their order.
TEST_F(Values, ComputedValuesThroughIDispatch) {
  PinnedClock clock(L"20240131233000");
  Create();
  ASSERT_EQ(Call(L"SetCaptionCtrlEx", {VStr(L"20240228"), VLong(0)}), S_OK);
  struct {
    const wchar_t* method;
    const wchar_t* base; // for GetBaseComputedDate
    short basic, variance, indicator;
    const wchar_t* result;
  } const cases[] = {
      {L"GetComputedDate", nullptr, 1, 1, 1, L"20240229"},
      {L"GetBaseComputedDate", L"20240301", 2, 1, 0, L"20240223"},
  };
  for (const auto& c : cases) {
    std::vector<VARIANT> args;
    if (c.base) args.push_back(VStr(c.base));
    for (short v : {c.basic, c.variance, c.indicator}) args.push_back(VLong(v));
    std::wstring result = L"<unset>";
    EXPECT_EQ(Call(c.method, args, &result), S_OK) << c.method;
    EXPECT_EQ(result, c.result) << c.method << " " << c.basic << "," << c.variance << "," << c.indicator;
  }
}

// The every-method script sees E_FAIL's reason; the other failure travels with its own code.
TEST_F(Values, AnUnconvertibleBaseDateFailsTheCallWithItsOwnCode) {
  PinnedClock clock(L"20240131120000");
  Create();
  const CString before = Ctl->Caption;
  EXCEPINFO excep = {};
  std::wstring result = L"<unset>";
  EXPECT_EQ(Call(L"GetBaseComputedDate", {VStr(L"30010101"), VLong(1), VLong(1), VLong(1)}, &result, &excep),
            DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, E_INVALIDARG);
  EXPECT_TRUE(excep.bstrDescription && wcsstr(excep.bstrDescription, L"GetBaseComputedDate"));
  EXPECT_EQ(result, L"<unset>");
  EXPECT_EQ(Ctl->Caption, before);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
}

TEST_F(Values, CurDateWritesTypesFirstAndValuesOnlyForAValidDate) {
  PinnedClock clock(L"20240131120000");
  Create();
  auto curDate = [&](VARIANT& y, VARIANT& m, VARIANT& d) {
    VARIANT args[3];
    for (VARIANT* v : {&y, &m, &d}) VariantInit(v);
    y.vt = m.vt = d.vt = VT_BSTR; // the types are overwritten, the long fields kept
    y.lVal = m.lVal = d.lVal = 0;
    args[2].vt = args[1].vt = args[0].vt = VT_BYREF | VT_VARIANT;
    args[2].pvarVal = &y, args[1].pvarVal = &m, args[0].pvarVal = &d;
    DISPPARAMS dp = {args, nullptr, 3, 0};
    CVariant result;
    EXPECT_EQ(Ctl->GetPrimaryDispatch()->Invoke(35, IID_NULL, 0, DISPATCH_METHOD, &dp, &result, nullptr, nullptr),
              S_OK);
    return result.vt == VT_I4 ? result.lVal : -99;
  };
  VARIANT y, m, d;
  Ctl->MSetCaptionCtrlEx(L"20240229", FALSE);
  EXPECT_EQ(curDate(y, m, d), 1);
  EXPECT_EQ(y.vt, VT_I4);
  EXPECT_EQ(std::vector<long>({y.lVal, m.lVal, d.lVal}), std::vector<long>({2024, 2, 29}));

  Ctl->SetMethodString(19, L"", L"", 0); // clear
  EXPECT_EQ(curDate(y, m, d), 0);
  EXPECT_EQ(std::vector<VARTYPE>({y.vt, m.vt, d.vt}), std::vector<VARTYPE>({VT_I4, VT_I4, VT_I4}));
  EXPECT_EQ(std::vector<long>({y.lVal, m.lVal, d.lVal}), std::vector<long>({0, 0, 0}));

  // A year-and-month format fills the day from today.
  ASSERT_EQ(PutLong(L"DateFormat", 9), S_OK);
  Ctl->MSetCaptionCtrlEx(L"202402", FALSE);
  EXPECT_EQ(curDate(y, m, d), 1);
  EXPECT_EQ(std::vector<long>({y.lVal, m.lVal, d.lVal}), std::vector<long>({2024, 2, 31}));
  // SetValue with nothing to take keeps the value, through IDispatch and as the host's C++
  // code calls it, with a null address; the library's table holds what it stores otherwise.
  std::wstring answer;
  ASSERT_EQ(Call(L"SetValue", {VStr(L"")}, &answer), S_OK);
  EXPECT_EQ(answer, L"0");
  EXPECT_EQ(Ctl->SetValue(0), 0);
  EXPECT_EQ(Get(L"Caption"), L"202402");
}
