// The form's side of the protocol: focus moves in creation order, the drop-down notice,
// and the controls' names, ids and sizes (the form file is the fuzz suite's).
#include "HostFixture.h"

#include "FormFile.h"
#include "RealInput.h"
#include "CalendarCtl.h"

TEST_F(HostTest, FocusMovesInCreationOrderPastHiddenControlsByNameAndNotWhenRefused) {
  FormControl* a = Make(L"a", 10, 10);
  FormControl* b = Make(L"b", 10, 50);
  FormControl* c = Make(L"c", 10, 90);
  FormControl* d = Make(L"d", 10, 130);
  ASSERT_TRUE(a && b && c && d);
  struct Move {
    FormControl* from;
    WORD action;
    const wchar_t* focused;
  };
  auto moves = [&](std::vector<Move> steps) {
    for (const auto& k : steps) {
      SCOPED_TRACE(testing::Message() << "from " << k.from->Name << " " << k.action);
      // Asks for the next (1013) or previous (1014) control, as the host does.
      SendMessageW(k.from->Hwnd(), WM_JT_EVENT, MAKEWPARAM(0, k.action), 0);
      realinput::Settle();
      EXPECT_EQ(Form->Focused(), k.focused);
    }
  };
  moves({{a, 1013, L"b"}, {d, 1013, L"a"}, {a, 1014, L"d"}, {c, 1014, L"b"}, {a, 1015, L"b"}});
  // A hidden control is passed over; a name, in any case, counts forwards only.
  ASSERT_EQ(DemoForm::PutProperty(a->Dispatch(), L"NextFocusCtrlName", L"D"), S_OK);
  ASSERT_EQ(DemoForm::PutProperty(c->Dispatch(), L"Visible", L"0"), S_OK);
  moves({{b, 1013, L"d"}, {a, 1013, L"d"}, {a, 1014, L"d"}});
  // A form that refuses the move, or holds the focus itself, keeps it where it is.
  Form->AllowFocus(false);
  moves({{b, 1014, L"d"}});
  Form->AllowFocus(true);
  Form->BlockFocus(true);
  moves({{b, 1014, L"d"}});
  Form->BlockFocus(false);
  moves({{b, 1014, L"a"}});
}

TEST_F(HostTest, AnOpeningDropDownClosesTheOtherOpenOneOnly) {
  FormControl* a = Make(L"a", 10, 10);
  FormControl* b = Make(L"b", 10, 50);
  ASSERT_TRUE(a && b);
  auto open = [&](FormControl* c) {
    SendMessageW(c->Hwnd(), WM_CALENDAR_SHOW, 0, 0);
    realinput::Settle();
  };
  open(b);
  ASSERT_NE(Form->DropDownOf(*b), nullptr);
  EXPECT_EQ(Form->Log().Lines().back(), L"form: b opened its drop-down");
  open(a);
  EXPECT_NE(Form->DropDownOf(*a), nullptr);
  EXPECT_EQ(Form->DropDownOf(*b), nullptr);
  EXPECT_EQ(Form->Log().Lines().back(), L"form: a opened its drop-down; closing b");
}

TEST_F(HostTest, TheFormNamesSizesAndCreatesItsControlsThroughTheirBaseUpToFiveHundred) {
  const struct {
    const wchar_t* name;
    RECT rect;
    const wchar_t* error; // null when the control is made
  } cases[] = {
      {L"wide", {10, 10, 250, 40}, nullptr},
      {L"flat", {10, 50, 160, 50}, nullptr},
      {L"negative", {10, 90, 0, 110}, L"refuses the size -10x20"},
      {L"upside", {10, 90, 160, 80}, L"refuses the size 150x-10"},
  };
  std::vector<UINT> ids;
  for (const auto& c : cases) {
    std::wstring error;
    FormControl* made = Form->Create(c.name, c.rect, L"", {}, error);
    if (c.error) {
      EXPECT_EQ(made, nullptr) << c.name;
      EXPECT_NE(error.find(c.error), std::wstring::npos) << error;
      continue;
    }
    ASSERT_NE(made, nullptr) << error;
    EXPECT_EQ(std::wstring(made->Ctl->GetCtrlName().GetString()), c.name);
    ids.push_back(made->Ctl->GetCtrlID());
    EXPECT_EQ(GetDlgCtrlID(made->Hwnd()), static_cast<int>(ids.back())) << "the window has the id the form gave";
    int cx = -1, cy = -1;
    made->Ctl->GetControlSize(&cx, &cy);
    EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(int(c.rect.right - c.rect.left), int(c.rect.bottom - c.rect.top)));
    // Created: stored values could no longer be applied, so the control takes none.
    std::vector<BYTE> stream = StoreControl(made->Ctl);
    CArchive ar(stream, CArchive::load);
    EXPECT_FALSE(made->Ctl->LoadControl(ar)) << c.name;
  }
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_NE(ids[0], ids[1]);
  // Up to the form's largest size (the refused ones took no place); the next one is refused.
  std::wstring error;
  for (size_t i = 2; i < DemoForm::kMaxControls; ++i) {
    const int x = static_cast<int>(i % 20) * 4, y = static_cast<int>(i / 20) * 4;
    ASSERT_NE(Form->Create(L"c" + std::to_wstring(i), RECT{x, y, x + 60, y + 20}, L"", {}, error), nullptr) << i;
  }
  EXPECT_EQ(Form->Create(L"one-more", RECT{0, 0, 60, 20}, L"", {}, error), nullptr);
  EXPECT_EQ(error, L"the form holds at most 500 controls");
  EXPECT_EQ(Form->Controls().size(), DemoForm::kMaxControls);
}
