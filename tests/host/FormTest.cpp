// The form's side of the protocol: focus moves in creation order, events offered and
// taken, the event interface read from the type library, the drop-down notice, and
// the form file.
#include "HostFixture.h"

#include "FormFile.h"
#include "RealInput.h"
#include "Tamvero_h.h"
#include "fxwnd.h"

namespace {

// Asks control from for the next (1013) or previous (1014) control, as the host does.
void AskMove(FormControl* from, WORD action) {
  SendMessageW(from->Hwnd(), WM_JT_EVENT, MAKEWPARAM(0, action), 0);
  realinput::Settle();
}

} // namespace

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
    const wchar_t* log; // null: the form logs nothing
  };
  auto moves = [&](std::vector<Move> steps) {
    for (const auto& k : steps) {
      SCOPED_TRACE(testing::Message() << "from " << k.from->Name << " " << k.action);
      size_t before = Form->Log().Lines().size();
      AskMove(k.from, k.action);
      EXPECT_EQ(Form->Focused(), k.focused);
      if (!k.log) {
        EXPECT_EQ(Form->Log().Lines().size(), before);
        continue;
      }
      // The move, then the field that took the focus telling the form.
      EXPECT_EQ(LogLines(L"form: focus ").back(), k.log);
      EXPECT_EQ(LogLines(L"form: ").back(), std::wstring(L"form: ") + k.focused + L" has the focus");
    }
  };
  moves({{a, 1013, L"b", L"form: focus next from a -> b"},
         {d, 1013, L"a", L"form: focus next from d -> a"},
         {a, 1014, L"d", L"form: focus previous from a -> d"},
         {c, 1014, L"b", L"form: focus previous from c -> b"},
         {a, 1015, L"b", nullptr}}); // any other request moves nothing
  // A hidden control is passed over; a name, in any case, counts forwards only.
  ASSERT_EQ(Put(a->Dispatch(), L"NextFocusCtrlName", L"D"), S_OK);
  ASSERT_EQ(Put(c->Dispatch(), L"Visible", L"0"), S_OK);
  moves({{b, 1013, L"d", L"form: focus next from b -> d"},
         {a, 1013, L"d", L"form: focus named from a -> d"},
         {a, 1014, L"d", L"form: focus previous from a -> d"}});
  // Refusals: the control does not even ask.
  Form->AllowFocus(false);
  moves({{b, 1013, L"d", nullptr}, {b, 1014, L"d", nullptr}});
  Form->AllowFocus(true);
  Form->BlockFocus(true);
  moves({{b, 1013, L"d", nullptr}, {a, 1013, L"d", nullptr}});
  Form->BlockFocus(false);
  moves({{b, 1013, L"d", L"form: focus next from b -> d"}});
}

TEST_F(HostTest, EventsReachTheFormUnlessItTakesThem) {
  FormControl* a = Make(L"a", 10, 10);
  FormControl* b = Make(L"b", 10, 50);
  ASSERT_TRUE(a && b);
  Lines handled;
  Form->EventHandler = [&](const std::wstring& control, const std::wstring& event) {
    handled.push_back(control + L"_" + event);
    return control == L"b";
  };
  // Each row: whether the form takes the event (-1: it is not asked), the control, what
  // reaches the record and the handler, and the offer logged.
  struct {
    int take;
    FormControl* ctl;
    const wchar_t* fired;
    const wchar_t* handler;
    const wchar_t* offer;
  } const cases[] = {
      {-1, a, L"a.SelSelected", L"a_SelSelected", nullptr},
      {1, a, nullptr, nullptr, L"form: offered a.SelSelected (20240316), took it"},
      {0, b, L"b.SelSelected", L"b_SelSelected", L"form: offered b.SelSelected (20240316), declined"},
  };
  for (const auto& k : cases) {
    Form->Fired.clear();
    handled.clear();
    if (k.take >= 0) Form->TakeEvents(k.take == 1);
    ASSERT_EQ(Call(k.ctl->Dispatch(), L"SetCaptionCtrl", L"20240316"), S_OK);
    EXPECT_EQ(Form->Fired, k.fired ? Lines{k.fired} : Lines{});
    EXPECT_EQ(handled, k.handler ? Lines{k.handler} : Lines{});
    if (k.offer) {
      EXPECT_EQ(LogLines(L"form: offered").back(), k.offer);
    }
  }
  // The log marks an event whose handler ran.
  EXPECT_EQ(Form->Log().Lines().back(), L"b.SelSelected   handled by b_SelSelected");
  EXPECT_EQ(LogLines(L"a.SelSelected"), std::vector<std::wstring>{L"a.SelSelected"});
}

namespace {
// Records the drop-down notices a control's window receives.
seq::Log g_noticed{seq::Message};
WNDPROC g_controlProc = nullptr;
LRESULT CALLBACK RecordNotice(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LISTBOX_SHOW) g_noticed.Add(std::to_wstring(reinterpret_cast<LONG_PTR>(hwnd)));
  return CallWindowProcW(g_controlProc, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(HostTest, AnOpeningDropDownClosesTheOtherOpenOneOnly) {
  FormControl* a = Make(L"a", 10, 10);
  FormControl* b = Make(L"b", 10, 50);
  FormControl* c = Make(L"c", 10, 90);
  ASSERT_TRUE(a && b && c);
  // b's drop-down: a month calendar popup of the form's thread, as the control shows it.
  CWnd popup;
  ASSERT_TRUE(popup.CreateSystem(L"SysMonthCal32", 0, L"", WS_POPUP | WS_BORDER | WS_VISIBLE, RECT{0, 0, 200, 160},
                                 b->Hwnd(), 0));
  SendMessageW(Form->Window(), WM_LISTBOX_SHOW, 1, reinterpret_cast<LPARAM>(b->Hwnd()));
  EXPECT_EQ(Form->DropDownOf(*b), popup.m_hWnd);
  EXPECT_EQ(Form->DropDownOf(*a), nullptr);

  g_noticed.clear();
  g_controlProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(b->Hwnd(), GWLP_WNDPROC));
  SetWindowLongPtrW(b->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordNotice));
  SetWindowLongPtrW(c->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordNotice));
  SendMessageW(Form->Window(), WM_LISTBOX_SHOW, 1, reinterpret_cast<LPARAM>(a->Hwnd()));
  EXPECT_SEQ(g_noticed, {std::to_wstring(reinterpret_cast<LONG_PTR>(b->Hwnd()))});
  EXPECT_EQ(Form->Log().Lines().back(), L"form: a opened its drop-down; closing b");

  // A closed drop-down is left alone: a control told closes and takes the focus.
  popup.ShowWindow(SW_HIDE);
  g_noticed.clear();
  SendMessageW(Form->Window(), WM_LISTBOX_SHOW, 1, reinterpret_cast<LPARAM>(a->Hwnd()));
  EXPECT_TRUE(g_noticed.empty());
  EXPECT_EQ(Form->Log().Lines().back(), L"form: a opened its drop-down");
  SetWindowLongPtrW(b->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_controlProc));
  SetWindowLongPtrW(c->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_controlProc));
}

TEST_F(HostTest, FormFileKeepsNamesPlacesOrderAndStoredProperties) {
  TempFolder dir;
  std::wstring path = dir.Path + L"\\form.tvf";
  FormControl* a = Make(L"first", 10, 10, L"Style=2;DateFormat=4;StartTime=20000101");
  FormControl* b = Make(L"second", 200, 60, L"Style=5;TimeFormat=3");
  ASSERT_TRUE(a && b);
  std::wstring error;
  ASSERT_TRUE(SaveFormFile(*Form, path, error)) << error;
  ASSERT_EQ(Put(a->Dispatch(), L"DateFormat", L"0"), S_OK);
  Make(L"extra", 10, 100);

  ASSERT_TRUE(LoadFormFile(*Form, path, error)) << error;
  ASSERT_EQ(Form->Controls().size(), 2u);
  const struct {
    const wchar_t* name;
    RECT rect;
  } expected[] = {{L"first", {10, 10, 160, 34}}, {L"second", {200, 60, 350, 84}}};
  for (size_t i = 0; i < 2; ++i) {
    FormControl& c = *Form->Controls()[i];
    EXPECT_EQ(c.Name, expected[i].name);
    RECT placed;
    GetWindowRect(c.Hwnd(), &placed);
    MapWindowPoints(nullptr, Form->Window(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(EqualRect(&placed, &expected[i].rect)) << i;
  }
  // A well-formed file whose second control's properties are cut short leaves the form as
  // it was (the fuzz suite cuts files at every length).
  std::vector<BYTE> saved = ReadBytes(path);
  std::vector<BYTE> full = StoreControl(Form->Controls()[0]->Ctl), bad;
  ASSERT_GT(full.size(), 10u);
  CArchive out(bad, CArchive::store);
  out.Write(saved.data(), 8); // the file's own mark and version
  out << static_cast<DWORD>(2);
  out << CString(L"good") << 10 << 10 << 160 << 34 << static_cast<DWORD>(full.size());
  out.Write(full.data(), full.size());
  out << CString(L"cut") << 10 << 50 << 160 << 74 << static_cast<DWORD>(10);
  out.Write(full.data(), 10);
  WriteWholeFile(path, bad.data(), bad.size());
  EXPECT_FALSE(LoadFormFile(*Form, path, error));
  EXPECT_NE(error.find(L"cut"), std::wstring::npos);
  ASSERT_EQ(Form->Controls().size(), 2u);
  EXPECT_EQ(Form->Controls()[0]->Name, L"first");

  const struct {
    const wchar_t* control;
    const wchar_t* property;
    const wchar_t* value;
  } props[] = {{L"first", L"Style", L"2"},
               {L"first", L"DateFormat", L"4"},
               {L"first", L"StartTime", L"20000101"},
               {L"second", L"Style", L"5"},
               {L"second", L"TimeFormat", L"3"}};
  for (const auto& p : props) EXPECT_EQ(Get(Form->Find(p.control)->Dispatch(), p.property), p.value) << p.property;
}

TEST_F(HostTest, TheFormNamesSizesAndCreatesItsControlsThroughTheirBase) {
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
      EXPECT_EQ(Form->Find(c.name), nullptr);
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
  EXPECT_EQ(Form->Controls().size(), 2u);
}
