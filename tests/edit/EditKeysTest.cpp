// Typing into a real control's field: characters and keys as WM_CHAR and WM_KEYDOWN,
// checked by the text, the selection, what the control window received, the events
// the host saw, the form's focus calls and the beeps.
#include "TestHost.h"

using namespace testhost;

namespace {

// The main keyboard scan code of "=" (shifted "+"); the keypad's "+" and "-".
const UINT kScanMainPlus = 0x0D, kScanPadPlus = 0x4E, kScanPadMinus = 0x4A;

struct Input {
  enum Kind { Char, Key } kind;
  UINT code;
  UINT scan;
};
Input Ch(WCHAR c, UINT scan = 0) { return {Input::Char, c, scan}; }
Input Key(UINT vk) { return {Input::Key, vk, 0}; }
std::vector<Input> Chars(const wchar_t* text) {
  std::vector<Input> out;
  for (const wchar_t* p = text; *p; ++p) out.push_back(Ch(*p));
  return out;
}
std::vector<std::wstring> Repeat(const std::wstring& s, int n) { return std::vector<std::wstring>(n, s); }
template <class T> std::vector<T> Join(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const std::vector<std::wstring> kMovedNext = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "};
const std::vector<std::wstring> kMovedBack = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 0 "};

struct Scenario {
  const char* name;
  const wchar_t* mask;
  int fullLength;
  const wchar_t* value; // shown from outside before the keys
  std::pair<int, int> sel;
  bool overwrite;
  bool calendarShown;
  std::vector<Input> inputs;
  const wchar_t* text;
  std::pair<int, int> selAfter;
  std::vector<std::wstring> controlCodes; // what the control got, notifications aside
  std::vector<std::wstring> events;
  std::vector<std::wstring> formCalls;
  int beeps;
  bool readOnly = false;
  bool detached = false; // the field without its control
};

} // namespace

class EditTyping : public EditControlFixture {};

TEST_F(EditTyping, KeysAndCharactersFollowTheMask) {
  const wchar_t* D = L"####-##-##";
  // clang-format off
  const std::vector<Scenario> scenarios = {
      // name; mask, full length, value shown, selection, overwrite, drop-down shown; inputs;
      // text, selection after; control codes; events; form calls; beeps
      // A full date selects all and reports once: the ninth digit then replaces it.
      {"eight digits fill, the ninth replaces the content", D, 8, L"", {0, 0}, false, false, Chars(L"202401315"),
       L"5   -  -  ", {1, 1}, Join(Repeat(L"0465 6", 7), {L"0465 0", L"0465 6"}),
       Join(Repeat(L"EditChange", 7), {L"EditFull", L"EditChange"}), kMovedNext, 0},
      {"a gap inside still counts as full", D, 8, L"20 4013", {9, 9}, true, false, {Ch(L'1')},
       L"20 4-01-31", {0, 10}, {L"0465 0"}, {L"EditFull"}, kMovedNext, 0},
      {"backspace across a literal", D, 8, L"20240131", {5, 5}, false, false, {Ch(VK_BACK)},
       L"2020-13-1 ", {3, 3}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"backspace over a selected literal takes the digit before it", D, 8, L"20240131", {4, 5}, false, false, {Ch(VK_BACK)},
       L"2020-13-1 ", {3, 3}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"backspace over a selection", D, 8, L"20240131", {2, 6}, false, false, {Ch(VK_BACK)},
       L"2013-1 -  ", {2, 2}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"delete before a hyphen deletes the digit after it", D, 8, L"20240131", {4, 4}, false, false, {Key(VK_DELETE)},
       L"2024-13-1 ", {5, 5}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"delete at the end deletes nothing", D, 8, L"20240131", {10, 10}, false, false, {Key(VK_DELETE)},
       L"2024-01-31", {10, 10}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"delete over a selection", D, 8, L"20240131", {3, 6}, false, false, {Key(VK_DELETE)},
       L"2021-31-  ", {3, 3}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"left from 5 goes to 4", D, 8, L"20240131", {5, 5}, false, false, {Key(VK_LEFT)},
       L"2024-01-31", {4, 4}, {}, {}, {}, 0},
      {"left from the first digit after a leading literal", L"(##)", 2, L"12", {1, 1}, false, false, {Key(VK_LEFT)},
       L"(12)", {1, 1}, {}, {}, {}, 0},
      {"right skips the hyphen", D, 8, L"20240131", {3, 3}, false, false, {Key(VK_RIGHT)},
       L"2024-01-31", {5, 5}, {}, {}, {}, 0},
      {"home goes to the first input position", L"(##)", 2, L"12", {3, 3}, false, false, {Key(VK_HOME)},
       L"(12)", {1, 1}, {}, {}, {}, 0},
      {"letters, space and clipboard control characters do nothing", D, 8, L"2024", {3, 3}, false, false,
       {Ch(L'a'), Ch(L'Z'), Ch(L' '), Ch(0x03), Ch(0x16), Ch(0x18), Ch(0x1A), Ch(L'\r')},
       L"2024-  -  ", {3, 3}, {}, {}, {}, 0},
      {"main keyboard plus is refused with a beep", D, 8, L"2024013", {9, 9}, false, false, {Ch(L'+', kScanMainPlus)},
       L"2024-01-3 ", {9, 9}, {L"0465 6"}, {L"EditChange"}, {}, 1},
      {"keypad plus moves on and inserts nothing", D, 8, L"2024013", {9, 9}, false, false, {Ch(L'+', kScanPadPlus)},
       L"2024-01-3 ", {9, 9}, {}, {}, kMovedNext, 0},
      {"keypad minus moves back and inserts nothing", D, 8, L"2024013", {9, 9}, false, false, {Ch(L'-', kScanPadMinus)},
       L"2024-01-3 ", {9, 9}, {}, {}, kMovedBack, 0},
      {"typing on a literal is refused, caret to the next entry", D, 8, L"2024", {4, 4}, false, false, {Ch(L'7')},
       L"2024-  -  ", {5, 5}, {L"0465 6"}, {L"EditChange"}, {}, 1},
      {"typing over a selected literal only is refused", D, 8, L"20240131", {7, 8}, false, false, {Ch(L'7')},
       L"2024-01-31", {8, 8}, {L"0465 0"}, {L"EditFull"}, kMovedNext, 1},
      {"typing over a selection replaces it", D, 8, L"20240131", {5, 7}, false, false, {Ch(L'1')},
       L"2024-13-1 ", {6, 6}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"insert toggles to overwrite", D, 8, L"2024013", {0, 0}, false, false, {Key(VK_INSERT), Ch(L'9')},
       L"9024-01-3 ", {1, 1}, {L"0465 6"}, {L"EditChange"}, {}, 0},
      {"overwrite refuses what the position does not take", D, 8, L"2024013", {0, 0}, true, false, {Ch(L'.')},
       L"2024-01-3 ", {0, 0}, {L"0465 6"}, {L"EditChange"}, {}, 1},
      {"insert toggles back", D, 8, L"2024013", {0, 0}, true, false, {Key(VK_INSERT), Ch(L'9')},
       L"9202-40-13", {1, 1}, {L"0465 0"}, {L"EditFull"}, kMovedNext, 0},
      {"enter confirms and selects all", D, 8, L"20240131", {3, 3}, false, false, {Key(VK_RETURN)},
       L"2024-01-31", {0, 10}, {L"0465 1"}, {L"EditEnter"}, {}, 0},
      {"enter with the drop-down shown closes it", D, 8, L"20240131", {3, 3}, false, true, {Key(VK_RETURN)},
       L"2024-01-31", {0, 10}, {L"0468"}, {}, {}, 0},
      {"escape closes the drop-down, F4 opens it", D, 8, L"20240131", {3, 3}, false, false, {Key(VK_ESCAPE), Key(VK_F4)},
       L"2024-01-31", {3, 3}, {L"0468", L"0467"}, {}, {}, 0},
      {"up and down step the value", D, 8, L"20240131", {3, 3}, false, false, {Key(VK_UP), Key(VK_DOWN)},
       L"2024-01-31", {3, 3}, {L"2728 1 1", L"2728 1 0"}, {}, {}, 0},
      // Delete still reports; what would change the text beeps.
      {"a read-only field is not edited", D, 8, L"20240131", {5, 5}, false, false, {Key(VK_DELETE), Ch(L'7'), Ch(VK_BACK)},
       L"2024-01-31", {5, 5}, {L"0465 6"}, {L"EditChange"}, {}, 2, true},
      // Without a mask the filter holds and the rest is the EDIT class's: no event code, no step.
      {"without a mask the edit class edits", L"", 8, L"", {0, 0}, false, false,
       Join(Chars(L"5a \x16.-7"), {Key(VK_LEFT), Key(VK_DELETE), Key(VK_RETURN)}), L"5.-", {3, 3}, {}, {}, {}, 0},
      {"without a mask keypad plus still moves on", L"", 8, L"5.-", {0, 0}, false, false,
       {Key(VK_UP), Key(VK_F4), Ch(L'+', kScanPadPlus)}, L"5.-", {0, 0}, {}, {}, kMovedNext, 0},
      // Without a control keypad plus is a refused character; Up and Down still go to the parent window.
      {"the field without its control still edits", D, 8, L"", {0, 0}, false, false,
       {Ch(L'2'), Ch(L'+', kScanPadPlus), Key(VK_RETURN), Key(VK_F4), Key(VK_DOWN)},
       L"2   -  -  ", {1, 1}, {L"2728 1 0"}, {}, {}, 1, false, true},
  };
  // clang-format on

  CreateWithMask(D, 8);
  for (const auto& s : scenarios) {
    SCOPED_TRACE(s.name);
    Ctl->Edit.SetMask(s.mask);
    Ctl->Edit.FullLength = s.fullLength;
    Ctl->Edit.InsertMode = !s.overwrite;
    Ctl->CalendarVisible = s.calendarShown;
    Ctl->Edit.SendMessage(EM_SETREADONLY, s.readOnly, 0);
    ShowValue(s.value);
    Ctl->Edit.SetSel(s.sel.first, s.sel.second);
    ASSERT_EQ(Sel(), s.sel);
    CCalendarCtl* owner = Ctl->Edit.ParentCtl;
    if (s.detached) Ctl->Edit.ParentCtl = nullptr;
    for (const auto& in : s.inputs) {
      if (in.kind == Input::Char)
        SendChar(static_cast<WCHAR>(in.code), in.scan);
      else
        SendKey(in.code);
    }
    EXPECT_EQ(Text(), s.text);
    EXPECT_EQ(Sel(), s.selAfter);
    EXPECT_SEQ(TakeControlCodes(), s.controlCodes);
    EXPECT_SEQ(Rec.Events, s.events);
    EXPECT_SEQ_FLUSH(Form->Calls, s.formCalls);
    EXPECT_EQ(Ctl->Edit.InvalidInputCount, s.beeps);
    Ctl->Edit.ParentCtl = owner;
    Ctl->Edit.SendMessage(EM_SETREADONLY, FALSE, 0);
  }
  Ctl->CalendarVisible = FALSE;
}

TEST_F(EditTyping, EachKeystrokeRewritesTextThenReportsInThatOrder) {
  CreateWithMask(L"####-##-##", 8);
  const LONG_PTR chain = GetWindowLongPtrW(Ctl->m_hWnd, GWLP_WNDPROC);
  SendChar(L'2');
  // The insertion lays the data (caret to 0), the refresh places the caret; each write
  // tells the parent EN_UPDATE and EN_CHANGE once and the control the right-trimmed
  // digits; the event code comes last.
  EXPECT_SEQ_FLUSH(Log.Entries, (seq::Entries{L"EN_UPDATE", L"EN_CHANGE", L"0466 2", L"EN_UPDATE", L"EN_CHANGE",
                                              L"0466 2", L"0465 6"}));
  // Painting later brings no notification of its own.
  UpdateWindow(Ctl->m_hWnd);
  UpdateWindow(Ctl->Edit.m_hWnd);
  Pump();
  EXPECT_SEQ_FLUSH(Log.Entries, seq::Entries{});

  // A write from outside tells the parent EN_UPDATE only and the control the digits,
  // leading blanks kept and trailing ones dropped; no event code.
  Ctl->Edit.SetSel(3, 5);
  SetWindowTextW(Ctl->Edit.m_hWnd, L"  24");
  EXPECT_SEQ_FLUSH(Log.Entries, (seq::Entries{L"EN_UPDATE", L"0466   24"}));
  EXPECT_EQ(Sel(), std::make_pair(0, 0));
  // The next keystroke is reported in full again.
  SendChar(L'.'); // refused: the data is laid back and the caret refreshed
  EXPECT_SEQ_FLUSH(Log.Entries, (seq::Entries{L"EN_UPDATE", L"EN_CHANGE", L"0466   24", L"EN_UPDATE", L"EN_CHANGE",
                                              L"0466   24", L"EN_UPDATE", L"EN_CHANGE", L"0466   24", L"0465 6"}));
  // Stripped before it is laid: laid as it is, the hyphen would fill the second position.
  Ctl->Edit.SetMask(L"&-&");
  SetWindowTextW(Ctl->Edit.m_hWnd, L"a-b");
  EXPECT_EQ(Text(), L"a-b");
  // The control window's procedure chain is as it was before the writes.
  EXPECT_EQ(GetWindowLongPtrW(Ctl->m_hWnd, GWLP_WNDPROC), chain);
}

// Presses or releases Shift through SendInput until GetAsyncKeyState agrees. Under
// Wine the display's keyboard state may overrule a synthetic key while events are
// processed, so pending events are let through first and the press is retried.
static bool HoldShift(bool down) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    Pump();
    Sleep(20);
    Pump();
    INPUT shift = {};
    shift.type = INPUT_KEYBOARD;
    shift.ki.wVk = VK_SHIFT;
    shift.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (SendInput(1, &shift, sizeof shift) != 1) return false;
    if (((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == down) return true;
  }
  return false;
}

TEST_F(EditTyping, ShiftLeavesTheCaretWhereTheEditClassPutIt) {
  CreateWithMask(L"####-##-##", 8);
  ShowValue(L"20240131");
  // A plain EDIT beside the field shows where the class itself puts the caret for the
  // same key at the same moment; without Shift the key table's rows snap it.
  HWND plain = PlainEdit();
  ASSERT_NE(plain, nullptr);
  SetWindowTextW(plain, Text().c_str());
  SetForegroundWindow(FormWindow());
  SetFocus(Ctl->Edit.m_hWnd);
  if (!HoldShift(true)) GTEST_SKIP() << "this display does not keep a synthetic Shift held";
  Pump(); // the press reaches the thread's key state too
  for (UINT vk : {VK_RIGHT, VK_LEFT}) {
    SCOPED_TRACE(vk);
    // The keys go straight to the windows: a dispatch would let the display's own
    // keyboard state overrule the synthetic Shift.
    SendMessageW(plain, EM_SETSEL, 5, 5);
    SendMessageW(plain, WM_KEYDOWN, vk, 1);
    DWORD s = 0, e = 0;
    SendMessageW(plain, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    ASSERT_NE(s, e) << "the class extends the selection";
    Ctl->Edit.SetSel(5, 5);
    SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, vk, 1);
    EXPECT_EQ(Sel(), std::make_pair(static_cast<int>(s), static_cast<int>(e)));
  }
  EXPECT_TRUE(HoldShift(false));
  Pump(); // the release reaches the thread's key state too
}
