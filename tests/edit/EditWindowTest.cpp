// The field as a window: focus and clicks, colours and their brushes, and the
// notifications its parent hears.
#include "TestHost.h"

#include <memory>

using namespace testhost;

class EditWindow : public EditControlFixture {};

// The focus is reported once per stay inside the control; the first click focuses (and so
// selects all), a second places the caret; a disabled field ignores the buttons.
TEST_F(EditWindow, FocusAndClicksAreReportedOncePerStayInsideTheControl) {
  CreateWithMask(L"####-##-##", 8);
  ShowValue(L"20240131");
  const HWND field = Ctl->Edit.m_hWnd, other = PlainEdit();
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(FormWindow());
  SetFocus(other);
  ClearRecords();
  // A host that bounces the focus through the field and out again while handling KillFocus.
  static HWND bounce[2];
  static int depth;
  bounce[0] = field, bounce[1] = other, depth = 0;
  Rec.OnEvent = [](Recorder*, DISPID id, DISPPARAMS*) {
    if (id != EVENT_KillFocus || depth++ > 0) return;
    SetFocus(bounce[0]);
    SetFocus(bounce[1]);
  };
  const std::pair<int, int> all(0, 10), kept(6, 7);
  struct {
    const char* name;
    HWND focus; // null: a left click on the field
    BOOL enabled;
    HWND focusedAfter;
    std::vector<std::wstring> codes, formCalls;
    std::pair<int, int> sel;
  } const steps[] = {
      {"into the field", field, TRUE, field, {L"0465 2"}, {L"SetFocusToForm"}, all},
      // The control hands the focus straight back to its field: no new report.
      {"to the control", Ctl->m_hWnd, TRUE, field, {}, {L"SetFocusToForm"}, all},
      {"out, bounced back in and out by the host", other, TRUE, other, {L"0465 3"}, {L"SetFocusToForm"}, all},
      {"first click", nullptr, TRUE, field, {L"0465 2"}, {L"SetFocusToForm", L"SetFocusToForm"}, all},
      {"second click", nullptr, TRUE, field, {}, {L"SetFocusToForm"}, {0, 0}},
      {"out", other, TRUE, other, {L"0465 3"}, {}, kept},
      {"a disabled field ignores a click", nullptr, FALSE, other, {}, {}, kept},
      {"a disabled field selects nothing on focus", field, FALSE, field, {L"0465 2"}, {}, kept},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    Ctl->Edit.SetEditEnabled(s.enabled);
    Ctl->Edit.SetSel(6, 7);
    if (s.focus) {
      SetFocus(s.focus);
    } else {
      SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 5));
      SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(1, 5));
    }
    EXPECT_EQ(GetFocus(), s.focusedAfter);
    EXPECT_SEQ(TakeControlCodes(), s.codes);
    EXPECT_SEQ_FLUSH(Form->Calls, s.formCalls);
    EXPECT_EQ(Sel(), s.sel);
  }
  EXPECT_EQ(SendMessageW(field, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 5)), 0);
  Ctl->Edit.SetEditEnabled(TRUE);
  Rec.OnEvent = nullptr;
  EXPECT_FALSE(Ctl->Edit.InKillFocus);
}

// The field's colour requests are answered with its colours and one shared brush per
// colour, deleted with its last holder; the other colour requests are not the field's.
TEST_F(EditWindow, ColourRequestsShareOneBrushPerColour) {
  const COLORREF colours[] = {RGB(1, 2, 3), RGB(4, 5, 6)}, fore = RGB(200, 100, 0); // colours no other window uses
  CClientDC dc(FormWindow());
  std::unique_ptr<CCalendarEdit> fields[3];
  for (int i = 0; i < 3; ++i) {
    fields[i] = std::make_unique<CCalendarEdit>();
    // A mask and data set before the window is made only change the records; it shows them.
    fields[i]->SetMask(L"##:##");
    fields[i]->SetInputData(L"1234", TRUE);
    ASSERT_TRUE(
        fields[i]->Create(WS_CHILD | WS_VISIBLE, CRect(10, 40 + 24 * i, 200, 62 + 24 * i), Form->FrameWnd, 1001 + i));
    EXPECT_EQ(TextOf(*fields[i]), L"12:34");
    fields[i]->SetForeColor(fore);
  }
  const int live0 = CSharedBrush::LiveBrushes();
  struct Step {
    const char* what;
    int field;
    int colour; // 0 A, 1 B, -1: the field goes
    UINT msg;
    int holders[2]; // of A and of B
    int brushes;    // shared brushes more than before
  };
  // clang-format off
  const Step steps[] = {
      {"first field asks for A",               0, 0,  WM_CTLCOLOREDIT,    {1, 0}, 1},
      {"second field asks for A, read-only",   1, 0,  WM_CTLCOLORSTATIC,  {2, 0}, 1},
      {"the same field asks again",            1, 0,  WM_CTLCOLOREDIT,    {2, 0}, 1},
      {"a button's request is not the field's", 1, 1, WM_CTLCOLORBTN,     {2, 0}, 1},
      {"a list's request is not the field's",  2, 1,  WM_CTLCOLORLISTBOX, {2, 0}, 1},
      {"third field asks for B",               2, 1,  WM_CTLCOLOREDIT,    {2, 1}, 2},
      {"first field goes",                     0, -1, 0,                  {1, 1}, 2},
      {"third field turns to A",               2, 0,  WM_CTLCOLOREDIT,    {2, 0}, 1},
      {"second field goes",                    1, -1, 0,                  {1, 0}, 1},
      {"third field goes: none is left",       2, -1, 0,                  {0, 0}, 0},
  };
  // clang-format on
  HBRUSH brushes[2] = {};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.colour < 0) {
      fields[s.field].reset();
    } else {
      CCalendarEdit& field = *fields[s.field];
      field.SetBackColor(colours[s.colour]);
      SetTextColor(dc, RGB(1, 1, 1));
      SetBkColor(dc, RGB(2, 2, 2));
      HBRUSH got = reinterpret_cast<HBRUSH>(
          SendMessageW(FormWindow(), s.msg, reinterpret_cast<WPARAM>(HDC(dc)), reinterpret_cast<LPARAM>(field.m_hWnd)));
      if (s.msg == WM_CTLCOLORBTN || s.msg == WM_CTLCOLORLISTBOX) {
        EXPECT_TRUE(got && got != brushes[0] && got != brushes[1]) << "the parent's own answer";
      } else {
        if (!brushes[s.colour]) brushes[s.colour] = got;
        EXPECT_EQ(got, brushes[s.colour]) << "one brush per colour";
        LOGBRUSH lb = {};
        EXPECT_TRUE(GetObjectW(got, sizeof lb, &lb) && lb.lbStyle == BS_SOLID && lb.lbColor == colours[s.colour]);
        EXPECT_TRUE(GetTextColor(dc) == fore && GetBkColor(dc) == colours[s.colour]);
      }
    }
    EXPECT_EQ(CSharedBrush::LiveBrushes(), live0 + s.brushes);
    for (int c : {0, 1}) {
      EXPECT_EQ(CSharedBrush::Holders(colours[c]), s.holders[c]) << c;
      EXPECT_TRUE(!brushes[c] || (GetObjectType(brushes[c]) != 0) == (s.holders[c] > 0))
          << "deleted with its last holder";
    }
  }
}

namespace {

// A parent's record of the edit notifications it hears.
LRESULT CALLBACK Hear(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR heard) {
  const WORD code = HIWORD(wParam);
  if (msg == WM_COMMAND && lParam && (code == EN_UPDATE || code == EN_CHANGE))
    reinterpret_cast<std::vector<std::wstring>*>(heard)->push_back(code == EN_UPDATE ? L"EN_UPDATE" : L"EN_CHANGE");
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Under the field's own procedure, above the EDIT class: the next field's rewrite starts as
// this one's text is taken, so every write is still running when the last one starts.
LRESULT CALLBACK StartNextWrite(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR next) {
  if (next && (msg == WM_SETTEXT || msg == EM_REPLACESEL)) reinterpret_cast<CCalendarEdit*>(next)->RefreshText(0);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(EditWindow, EveryParentOfNestedWritesHearsOnlyTheFieldsOwnNotifications) {
  const int depth = 3;
  CCalendarEdit fields[depth];
  HWND parents[depth];
  LONG_PTR parentProcs[depth];
  std::vector<std::wstring> heard[depth];
  for (int i = 0; i < depth; ++i) {
    parents[i] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 30 * i, 300, 28, FormWindow(), nullptr,
                                 nullptr, nullptr);
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, parents[i], nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit && SetWindowSubclass(edit, StartNextWrite, 0, 0) && fields[i].SubclassWindow(edit));
    fields[i].SetMask(L"##:##");
    // A digit in the records that the window does not show yet: the rewrite changes the
    // text, so it reaches the EDIT class (a write of the same text is spared).
    fields[i].RecordAt(0)->Char = L'1';
    if (i > 0) SetWindowSubclass(fields[i - 1].m_hWnd, StartNextWrite, 0, reinterpret_cast<DWORD_PTR>(&fields[i]));
    ASSERT_TRUE(SetWindowSubclass(parents[i], Hear, 0, reinterpret_cast<DWORD_PTR>(&heard[i])));
    parentProcs[i] = GetWindowLongPtrW(parents[i], GWLP_WNDPROC);
  }

  fields[0].RefreshText(0);
  for (int i = 0; i < depth; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(heard[i], (std::vector<std::wstring>{L"EN_UPDATE", L"EN_CHANGE"}));
    // Nothing of the mute stays on the parent once the writes are over.
    EXPECT_EQ(GetWindowLongPtrW(parents[i], GWLP_WNDPROC), parentProcs[i]);
  }
}
