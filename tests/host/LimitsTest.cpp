// The demo form within its limits: a clerk typing all day into a form whose event log is
// open (the log and the record of fired events are bounded, so the process stops growing),
// and a form built up to its largest size.
#include "HandleCount.h"
#include "HostFixture.h"
#include "RealInput.h"

#include <cstdio>
#include <cstdlib>

// TAMVERO_SOAK_DIGITS sets how many digits are typed after the warm-up (100,000 for the
// whole day's measurement; the suite's default keeps its run short).
TEST_F(HostTest, TypingAllDayKeepsTheFormsMemoryFlat) {
  FormControl* c = Make(L"a", 10, 10);
  ASSERT_NE(c, nullptr);
  HWND field = DemoForm::FieldOf(*c);
  SetFocus(field);
  ASSERT_EQ(GetFocus(), field);
  // Whole dates, each typed into an emptied field, as a clerk enters record after record.
  const wchar_t date[] = L"20240315";
  auto type = [&](int digits) {
    for (int i = 0; i < digits; ++i) {
      if (i % 8 == 0) {
        ASSERT_EQ(Put(c->Dispatch(), L"Caption", L""), S_OK);
      }
      SendMessageW(field, WM_CHAR, date[i % 8], 1);
    }
  };
  // Fill the log and the record first, so that the heap has reached its working size.
  type(3000);
  ASSERT_EQ(Form->Log().Lines().size(), EventLog::kMaxLines);
  ASSERT_GE(Form->Fired.size(), DemoForm::kMaxFired);
  EXPECT_EQ(Get(c->Dispatch(), L"Caption"), L"20240315");
  const SIZE_T before = handlecount::PrivateBytes();
  ASSERT_GT(before, 0u); // a count that reads nothing would pass any bound
  const char* soak = getenv("TAMVERO_SOAK_DIGITS");
  const int digits = soak ? atoi(soak) : 10000;
  type(digits);
  const SIZE_T after = handlecount::PrivateBytes();
  printf("%d digits: private bytes %u KB before, %u KB after\n", digits, static_cast<unsigned>(before / 1024),
         static_cast<unsigned>(after / 1024));
  EXPECT_EQ(Form->Log().Lines().size(), EventLog::kMaxLines);
  EXPECT_LE(Form->Fired.size(), DemoForm::kMaxFired + DemoForm::kMaxFired / 10);
  EXPECT_EQ(SendMessageW(Form->Log().Handle(), LB_GETCOUNT, 0, 0), static_cast<LRESULT>(EventLog::kMaxLines));
  // The list box catches up once the form is idle: its view ends at the newest line.
  realinput::Settle();
  RECT client;
  GetClientRect(Form->Log().Handle(), &client);
  const LRESULT lineHeight = SendMessageW(Form->Log().Handle(), LB_GETITEMHEIGHT, 0, 0);
  ASSERT_GT(lineHeight, 0);
  EXPECT_GE(SendMessageW(Form->Log().Handle(), LB_GETTOPINDEX, 0, 0) + client.bottom / lineHeight,
            static_cast<LRESULT>(EventLog::kMaxLines - 1));
  // Each digit fires an event: kept, 10,000 of them would take megabytes.
  EXPECT_LT(after, before + 1024 * 1024) << "private bytes grew from " << before << " to " << after;
}

TEST_F(HostTest, AFormTakesFiveHundredControlsAndRefusesTheNextKeepingThemAll) {
  std::wstring error;
  for (size_t i = 0; i < DemoForm::kMaxControls; ++i) {
    const int x = static_cast<int>(i % 20) * 4, y = static_cast<int>(i / 20) * 4;
    RECT rect = {x, y, x + 60, y + 20};
    ASSERT_NE(Form->Create(L"c" + std::to_wstring(i), rect, L"", {}, error), nullptr) << i;
  }
  ASSERT_EQ(Put(Form->Find(L"c499")->Dispatch(), L"Caption", L"20240315"), S_OK);
  RECT rect = {0, 0, 60, 20};
  EXPECT_EQ(Form->Create(L"one-more", rect, L"", {}, error), nullptr);
  EXPECT_EQ(error, L"the form holds at most 500 controls");
  EXPECT_EQ(Form->Controls().size(), DemoForm::kMaxControls);
  EXPECT_EQ(Form->Find(L"one-more"), nullptr);
  EXPECT_EQ(Get(Form->Find(L"c499")->Dispatch(), L"Caption"), L"20240315");
}
