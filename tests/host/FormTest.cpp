// The form's side of the protocol: the drop-down notice, and the controls' names, ids and
// sizes (focus moves are the script tests', the form file is the fuzz suite's); the
// event log's bounds.
#include "HostFixture.h"

#include "EventLog.h"
#include "FormFile.h"
#include "RealInput.h"
#include "CalendarCtl.h"
#include "fxwnd.h"

TEST_F(HostTest, AnOpeningDropDownClosesTheOtherOpenOneOnly) {
  FormControl* a = Make(L"a", 10, 10);
  FormControl* b = Make(L"b", 10, 50);
  ASSERT_TRUE(a && b);
  SendMessageW(b->Hwnd(), WM_CALENDAR_SHOW, 0, 0);
  realinput::Settle();
  ASSERT_NE(Form->DropDownOf(*b), nullptr);
  SendMessageW(a->Hwnd(), WM_CALENDAR_SHOW, 0, 0);
  realinput::Settle();
  EXPECT_NE(Form->DropDownOf(*a), nullptr);
  EXPECT_EQ(Form->DropDownOf(*b), nullptr);
}

// A refused size is the script tests'.
TEST_F(HostTest, TheFormNamesSizesAndCreatesItsControlsThroughTheirBaseUpToFiveHundred) {
  std::wstring error;
  std::vector<UINT> ids;
  for (const RECT& rect : {RECT{10, 10, 250, 40}, RECT{10, 50, 160, 50}}) { // wide, and flat
    const std::wstring name = L"c" + std::to_wstring(ids.size());
    FormControl* made = Form->Create(name, rect, L"", {}, error);
    ASSERT_NE(made, nullptr) << error;
    EXPECT_EQ(std::wstring(made->Ctl->GetCtrlName().GetString()), name);
    ids.push_back(made->Ctl->GetCtrlID());
    EXPECT_EQ(GetDlgCtrlID(made->Hwnd()), static_cast<int>(ids.back())) << "the window has the id the form gave";
    int cx = -1, cy = -1;
    made->Ctl->GetControlSize(&cx, &cy);
    EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(int(rect.right - rect.left), int(rect.bottom - rect.top)));
    // Created: stored values could no longer be applied, so the control takes none.
    std::vector<BYTE> stream = StoreControl(made->Ctl);
    CArchive ar(stream, CArchive::load);
    EXPECT_FALSE(made->Ctl->LoadControl(ar)) << name;
  }
  EXPECT_NE(ids[0], ids[1]);
  // Up to the form's largest size; the next one is refused.
  for (size_t i = 2; i < DemoForm::kMaxControls; ++i) {
    const int x = static_cast<int>(i % 20) * 4, y = static_cast<int>(i / 20) * 4;
    ASSERT_NE(Form->Create(L"c" + std::to_wstring(i), RECT{x, y, x + 60, y + 20}, L"", {}, error), nullptr) << i;
  }
  EXPECT_EQ(Form->Create(L"one-more", RECT{0, 0, 60, 20}, L"", {}, error), nullptr);
  EXPECT_EQ(error, L"the form holds at most 500 controls");
  EXPECT_EQ(Form->Controls().size(), DemoForm::kMaxControls);
}

TEST(EventLogBounds, KeepsTheNewestLinesEachCutWithAMark) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateSystem(L"STATIC", 0, L"", WS_POPUP, RECT{0, 0, 300, 300}, nullptr, 0));
  EventLog log;
  ASSERT_TRUE(log.Create(parent, RECT{0, 0, 300, 300}));
  const size_t total = EventLog::kMaxLines + 250;
  const std::wstring huge(100000, L'n');
  size_t first = log.Add(L"first");
  for (size_t i = 1; i < total; ++i) log.Add(i % 2 ? huge : L"line " + std::to_wstring(i));
  EXPECT_EQ(log.Lines().size(), EventLog::kMaxLines);
  EXPECT_EQ(SendMessageW(log.Handle(), LB_GETCOUNT, 0, 0), static_cast<LRESULT>(EventLog::kMaxLines));
  EXPECT_EQ(log.Lines().back(), std::wstring(EventLog::kMaxLineChars, L'n') + L"... (" +
                                    std::to_wstring(huge.size() - EventLog::kMaxLineChars) + L" more characters)");
  EXPECT_EQ(log.Lines()[log.Lines().size() - 2], L"line " + std::to_wstring(total - 2));
  // An amended line that has left the log changes nothing; one still there is replaced.
  log.Amend(first, L"handled");
  EXPECT_EQ(log.Lines().front(), L"line 250");
  size_t last = log.Add(L"last");
  log.Amend(last, L"last, handled");
  EXPECT_EQ(log.Lines().back(), L"last, handled");
  wchar_t shown[64] = {};
  SendMessageW(log.Handle(), LB_GETTEXT, EventLog::kMaxLines - 1, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, L"last, handled");
  // The list box catches up once the form is idle: its view ends at the newest line.
  realinput::Settle();
  RECT client;
  GetClientRect(log.Handle(), &client);
  const LRESULT lineHeight = SendMessageW(log.Handle(), LB_GETITEMHEIGHT, 0, 0);
  ASSERT_GT(lineHeight, 0);
  EXPECT_GE(SendMessageW(log.Handle(), LB_GETTOPINDEX, 0, 0) + client.bottom / lineHeight,
            static_cast<LRESULT>(EventLog::kMaxLines - 1));
}
