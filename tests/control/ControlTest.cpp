#include "TestHost.h"

using namespace testhost;

class ControlDefaults : public ControlFixture {};

TEST_F(ControlDefaults, NewControlReadsItsDefaultsThroughIDispatch) {
  Create();
  struct {
    const wchar_t* name;
    const wchar_t* value;
  } const cases[] = {
      {L"Enabled", L"1"},       {L"AppearanceStyle", L"1"}, {L"Visible", L"1"},       {L"BackColorIndex", L"47"},
      {L"ForeColorIndex", L"48"}, {L"DateFormat", L"2"},    {L"Item", L""},           {L"ItemFlag", L"1"},
      {L"StartTime", L"19700101"}, {L"EndTime", L"99991231"}, {L"BasicClient", L"0"}, {L"Variance", L"0"},
      {L"Indicator", L"0"},     {L"Style", L"0"},           {L"TimeFormat", L"0"},    {L"AutoSave", L"0"},
      {L"FontIndex", L"2"},     {L"Fid", L""},              {L"RequireInput", L"0"},  {L"NextFocusCtrlName", L""},
      {L"NotCheckDate", L"0"},  {L"Anchor", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(Get(c.name), c.value) << c.name;
}
