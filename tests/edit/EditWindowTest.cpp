// The field as a window: the real clipboard, focus and clicks, colours and their
// brushes, and the host's query message.
#include "TestHost.h"

#include <map>
#include <memory>

using namespace testhost;

class EditWindow : public EditControlFixture {};

// A paste lays formatted or bare text and waits on the next empty position; cut, copy and
// clear keep the mask; a read-only field is not edited; the host's query is answered and
// changes nothing. None fires an event.
TEST_F(EditWindow, ClipboardMessagesKeepTheMask) {
  struct {
    UINT msg;
    const wchar_t* value;
    std::pair<int, int> sel;
    const wchar_t* clip;
    const wchar_t* text;
    std::pair<int, int> selAfter;
    const wchar_t* clipAfter; // null: the clipboard as it was
    bool readOnly = false;
    LRESULT answer = 0; // non-zero: nothing is written at all
  } const cases[] = {
      {WM_PASTE, L"", {0, 0}, L"2024-01-31", L"2024-01-31", {10, 10}, nullptr},
      {WM_PASTE, L"2024", {5, 5}, L"0131", L"2024-01-31", {10, 10}, nullptr},
      {WM_PASTE, L"2024", {5, 5}, L"1", L"2024-1 -  ", {6, 6}, nullptr}, // a gap left to fill
      {WM_PASTE, L"20240131", {5, 5}, L"12", L"2024-12-01", {10, 10}, nullptr},
      {WM_COPY, L"20240131", {0, 10}, L"x", L"2024-01-31", {0, 10}, L"2024-01-31"},
      {WM_CUT, L"20240131", {2, 6}, L"x", L"2013-1 -  ", {2, 2}, L"24-0"},
      {WM_CLEAR, L"20240131", {0, 10}, L"x", L"    -  -  ", {0, 0}, nullptr},
      {WM_PASTE, L"20240131", {0, 4}, L"1999", L"2024-01-31", {0, 4}, nullptr, true},
      {WM_CLEAR, L"20240131", {0, 4}, L"x", L"2024-01-31", {0, 4}, nullptr, true},
      {0x052C, L"2024", {2, 2}, L"x", L"2024-  -  ", {2, 2}, nullptr, false, 1},
  };
  CreateWithMask(L"####-##-##", 8);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "message " << std::hex << c.msg << " clip " << c.clip << " read-only "
                                    << c.readOnly);
    ShowValue(c.value);
    Ctl->Edit.SendMessage(EM_SETREADONLY, c.readOnly, 0);
    ASSERT_TRUE(PutClipboardText(Ctl->Edit.m_hWnd, c.clip));
    Ctl->Edit.SetSel(c.sel.first, c.sel.second);
    EXPECT_EQ(SendMessageW(Ctl->Edit.m_hWnd, c.msg, 12, 34), c.answer);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(Sel(), c.selAfter);
    EXPECT_EQ(ClipboardText(Ctl->Edit.m_hWnd), c.clipAfter ? c.clipAfter : c.clip);
    if (c.answer) {
      EXPECT_SEQ_FLUSH(Log.Entries, seq::Entries{});
    } else { // the new digits are reported, but no event code
      EXPECT_SEQ(TakeControlCodes(), seq::Entries{});
    }
    EXPECT_SEQ(Rec.Events, seq::Entries{});
    EXPECT_EQ(Ctl->Edit.InvalidInputCount, 0);
  }
  Ctl->Edit.SendMessage(EM_SETREADONLY, FALSE, 0);
}

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
  struct Bounce {
    HWND field, other;
    int depth;
  } bounce{field, other, 0};
  Rec.Context = &bounce;
  Rec.OnEvent = [](Recorder* self, DISPID id, DISPPARAMS*) {
    auto* b = static_cast<Bounce*>(self->Context);
    if (id != EVENT_KillFocus || b->depth++ > 0) return;
    SetFocus(b->field);
    SetFocus(b->other);
  };
  const std::pair<int, int> all(0, 10), kept(6, 7), caret(-1, -1), any(-2, -2);
  struct {
    const char* name;
    HWND focus; // null: a left click on the field
    BOOL enabled;
    HWND focusedAfter;
    std::vector<std::wstring> codes, formCalls;
    std::pair<int, int> sel; // caret: collapsed anywhere
  } const steps[] = {
      {"into the field", field, TRUE, field, {L"0465 2"}, {L"SetFocusToForm"}, all},
      // The control hands the focus straight back to its field: no new report.
      {"to the control", Ctl->m_hWnd, TRUE, field, {}, {L"SetFocusToForm"}, all},
      {"out, bounced back in and out by the host", other, TRUE, other, {L"0465 3"}, {L"SetFocusToForm"}, any},
      {"first click", nullptr, TRUE, field, {L"0465 2"}, {L"SetFocusToForm", L"SetFocusToForm"}, all},
      {"second click", nullptr, TRUE, field, {}, {L"SetFocusToForm"}, caret},
      {"out", other, TRUE, other, {L"0465 3"}, {}, any},
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
    const auto sel = Sel();
    if (s.sel == caret) {
      EXPECT_EQ(sel.first, sel.second) << "the click places a caret";
    } else if (s.sel != any) {
      EXPECT_EQ(sel, s.sel);
    }
  }
  EXPECT_EQ(SendMessageW(field, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 5)), 0);
  Ctl->Edit.SetEditEnabled(TRUE);
  Rec.OnEvent = nullptr;
  EXPECT_FALSE(Ctl->Edit.InKillFocus);
}

// The field's colour requests are answered with its colours and one shared brush per
// colour, deleted with its last holder; the other colour requests are not the field's.
TEST_F(EditWindow, ColourRequestsShareOneBrushPerColour) {
  CreateWithMask(L"####-##-##", 8);
  const COLORREF A = RGB(1, 2, 3), B = RGB(4, 5, 6), C = RGB(10, 20, 30); // colours no other window uses
  CClientDC dc(FormWindow());
  auto ask = [&](HWND parent, HWND field, UINT msg) {
    return reinterpret_cast<HBRUSH>(
        SendMessageW(parent, msg, reinterpret_cast<WPARAM>(HDC(dc)), reinterpret_cast<LPARAM>(field)));
  };
  auto colourOf = [](HBRUSH brush) {
    LOGBRUSH lb = {};
    return GetObjectW(brush, sizeof lb, &lb) == static_cast<int>(sizeof lb) && lb.lbStyle == BS_SOLID ? lb.lbColor
                                                                                                      : CLR_INVALID;
  };
  Ctl->Edit.SetBackColor(C);
  Ctl->Edit.SetForeColor(RGB(200, 100, 0));
  for (UINT msg : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORLISTBOX}) {
    SCOPED_TRACE(testing::Message() << "message " << std::hex << msg);
    SetTextColor(dc, RGB(1, 1, 1));
    SetBkColor(dc, RGB(2, 2, 2));
    HBRUSH answer = ask(Ctl->m_hWnd, Ctl->Edit.m_hWnd, msg);
    const bool own = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC;
    EXPECT_EQ(answer != nullptr && answer == Ctl->Edit.BackBrush.GetSafeHandle(), own);
    if (!own) continue;
    EXPECT_EQ(colourOf(answer), C);
    EXPECT_TRUE(GetTextColor(dc) == RGB(200, 100, 0) && GetBkColor(dc) == C);
  }

  std::unique_ptr<CCalendarEdit> fields[3];
  for (int i = 0; i < 3; ++i) {
    fields[i] = std::make_unique<CCalendarEdit>();
    ASSERT_TRUE(
        fields[i]->Create(WS_CHILD | WS_VISIBLE, CRect(10, 40 + 24 * i, 200, 62 + 24 * i), Form->FrameWnd, 1001 + i));
    fields[i]->SetMask(L"##:##");
  }
  const int live0 = CSharedBrush::LiveBrushes();
  struct Step {
    const char* what;
    int field;
    int colour; // 0 A, 1 B, -1: the field goes
    int holdersA, holdersB;
    int brushes; // shared brushes more than before
  };
  // clang-format off
  const Step steps[] = {
      {"first field asks for A",         0, 0,  1, 0, 1},
      {"second field asks for A",        1, 0,  2, 0, 1},
      {"the same field asks again",      1, 0,  2, 0, 1},
      {"third field asks for B",         2, 1,  2, 1, 2},
      {"first field goes",               0, -1, 1, 1, 2},
      {"third field turns to A",         2, 0,  2, 0, 1},
      {"second field goes",              1, -1, 1, 0, 1},
      {"third field goes: none is left", 2, -1, 0, 0, 0},
  };
  // clang-format on
  HBRUSH brushes[2] = {};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.colour < 0) {
      fields[s.field].reset();
    } else {
      fields[s.field]->SetBackColor(s.colour ? B : A);
      HBRUSH got = ask(FormWindow(), fields[s.field]->m_hWnd, WM_CTLCOLOREDIT);
      if (!brushes[s.colour]) brushes[s.colour] = got;
      EXPECT_EQ(got, brushes[s.colour]) << "one brush per colour";
      EXPECT_EQ(colourOf(got), s.colour ? B : A);
    }
    EXPECT_EQ(CSharedBrush::Holders(A), s.holdersA);
    EXPECT_EQ(CSharedBrush::Holders(B), s.holdersB);
    EXPECT_EQ(CSharedBrush::LiveBrushes(), live0 + s.brushes);
    for (int c : {0, 1}) {
      if (brushes[c]) {
        EXPECT_EQ(GetObjectType(brushes[c]) != 0, (c ? s.holdersB : s.holdersA) > 0);
      }
    }
  }
}

namespace {

// A window between the form and one field, recording the edit notifications it hears.
class NotifiedParent : public CWnd {
public:
  std::vector<std::wstring> Heard;

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_COMMAND && lParam) {
      if (HIWORD(wParam) == EN_UPDATE) Heard.push_back(L"EN_UPDATE");
      if (HIWORD(wParam) == EN_CHANGE) Heard.push_back(L"EN_CHANGE");
    }
    return CWnd::WindowProc(msg, wParam, lParam);
  }
};

// Fields whose EDIT class procedure, under the field's own, starts the next field's
// rewrite as it takes the text: every field's write is still running when the last one starts.
struct NestedField {
  NotifiedParent Parent;
  CCalendarEdit Field;
};
std::map<HWND, WNDPROC> g_classProcs;
std::map<HWND, CCalendarEdit*> g_nextWrite;

LRESULT CALLBACK StartNextWrite(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto proc = g_classProcs.find(hwnd);
  if (proc == g_classProcs.end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  WNDPROC classProc = proc->second;
  if (msg == WM_NCDESTROY) g_classProcs.erase(proc);
  if (msg == WM_SETTEXT || msg == EM_REPLACESEL) {
    auto next = g_nextWrite.find(hwnd);
    if (next != g_nextWrite.end()) next->second->RefreshText(0);
  }
  return CallWindowProcW(classProc, hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(EditWindow, EveryParentOfNestedWritesHearsOnlyTheFieldsOwnNotifications) {
  CreateWithMask(L"####-##-##", 8);
  const int parents = 3; // each write runs inside the one before
  std::vector<std::unique_ptr<NestedField>> fields;
  std::vector<LONG_PTR> parentProcs;
  for (int i = 0; i < parents; ++i) {
    auto f = std::make_unique<NestedField>();
    ASSERT_TRUE(f->Parent.CreateEx(0, L"", WS_CHILD | WS_VISIBLE, CRect(0, 30 * i, 300, 30 * i + 28),
                                   Form->FrameWnd->m_hWnd, static_cast<UINT_PTR>(2000 + i)));
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, f->Parent.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(3000 + i)), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    g_classProcs[edit] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StartNextWrite)));
    ASSERT_TRUE(f->Field.SubclassWindow(edit));
    f->Field.SetMask(L"##:##");
    // A digit in the records that the window does not show yet: the rewrite changes the
    // text, so it reaches the EDIT class (a write of the same text is spared).
    f->Field.RecordAt(0)->Char = L'1';
    f->Parent.Heard.clear();
    parentProcs.push_back(GetWindowLongPtrW(f->Parent.m_hWnd, GWLP_WNDPROC));
    if (!fields.empty()) g_nextWrite[fields.back()->Field.m_hWnd] = &f->Field;
    fields.push_back(std::move(f));
  }

  fields.front()->Field.RefreshText(0);
  g_nextWrite.clear();

  for (int i = 0; i < parents; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fields[i]->Parent.Heard, (std::vector<std::wstring>{L"EN_UPDATE", L"EN_CHANGE"}));
    // Nothing of the mute stays on the parent once the writes are over.
    EXPECT_EQ(GetWindowLongPtrW(fields[i]->Parent.m_hWnd, GWLP_WNDPROC), parentProcs[i]);
  }
}
