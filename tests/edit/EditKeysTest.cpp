// Typing into a real control's field: characters and keys as WM_CHAR and WM_KEYDOWN, and
// the clipboard messages on the real clipboard, checked by the text, the selection, what
// the control window received, the form's focus calls and the beeps.
#include "TestHost.h"

using namespace testhost;

namespace {

// The main keyboard scan code of "=" (shifted "+"); the keypad's "+" and "-".
const UINT kScanMainPlus = 0x0D, kScanPadPlus = 0x4E, kScanPadMinus = 0x4A;

struct Input {
  enum Kind { Char, Key, Msg } kind;
  UINT code;
  UINT scan;
  const wchar_t* clip = L"x"; // on the clipboard before a message
  LRESULT answer = 0;         // the message's
};
Input Ch(WCHAR c, UINT scan = 0) { return {Input::Char, c, scan}; }
Input Key(UINT vk) { return {Input::Key, vk, 0}; }
Input Msg(UINT msg, LRESULT answer = 0) { return {Input::Msg, msg, 0, L"x", answer}; }
Input Paste(const wchar_t* clip) { return {Input::Msg, WM_PASTE, 0, clip}; }
std::vector<Input> Chars(const wchar_t* text) {
  std::vector<Input> out;
  for (const wchar_t* p = text; *p; ++p) out.push_back(Ch(*p));
  return out;
}
template <class T> std::vector<T> Join(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const std::vector<std::wstring> kMovedNext = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "};
const std::vector<std::wstring> kMovedBack = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 0 "};
// Event codes the control gets; the events they fire are the control's own tests'.
const wchar_t kChange[] = L"0465 6", kFull[] = L"0465 0";
enum State { ReadOnly = 1, Detached = 2, DroppedDown = 4 }; // detached: the field without its control

struct Scenario {
  const char* name;
  const wchar_t* mask;
  const wchar_t* value; // shown from outside before the inputs
  std::pair<int, int> sel;
  std::vector<Input> inputs;
  const wchar_t* text;
  std::pair<int, int> selAfter;
  std::vector<std::wstring> controlCodes; // what the control got, notifications aside
  std::vector<std::wstring> formCalls;
  int beeps;
  int state = 0;
  const wchar_t* clipAfter = nullptr; // null: not looked at
};

} // namespace

class EditTyping : public EditControlFixture {};

TEST_F(EditTyping, KeysCharactersAndClipboardFollowTheMask) {
  const wchar_t* D = L"####-##-##";
  // clang-format off
  const std::vector<Scenario> scenarios = {
      // name; mask, value shown, selection; inputs; text, selection after; control codes; form calls; beeps
      // A full date reports once and, the caret at the end, selects all: the next digit replaces it.
      {"the last digit fills, the next replaces the content", D, L"2024013", {9, 9}, Chars(L"15"),
       L"5   -  -  ", {1, 1}, {kFull, kChange}, kMovedNext, 0},
      {"a gap inside still counts as full", D, L"20 4013", {9, 9}, {Key(VK_INSERT), Ch(L'1')},
       L"20 4-01-31", {0, 10}, {kFull}, kMovedNext, 0},
      {"backspace across a literal", D, L"20240131", {5, 5}, {Ch(VK_BACK)}, L"2020-13-1 ", {3, 3}, {kChange}, {}, 0},
      {"backspace over a selected literal takes the digit before it", D, L"20240131", {4, 5}, {Ch(VK_BACK)},
       L"2020-13-1 ", {3, 3}, {kChange}, {}, 0},
      {"backspace over a selection", D, L"20240131", {2, 6}, {Ch(VK_BACK)}, L"2013-1 -  ", {2, 2}, {kChange}, {}, 0},
      {"delete before a hyphen deletes the digit after it", D, L"20240131", {4, 4}, {Key(VK_DELETE)},
       L"2024-13-1 ", {5, 5}, {kChange}, {}, 0},
      {"delete at the end deletes nothing", D, L"20240131", {10, 10}, {Key(VK_DELETE)},
       L"2024-01-31", {10, 10}, {kChange}, {}, 0},
      {"delete over a selection", D, L"20240131", {3, 6}, {Key(VK_DELETE)}, L"2021-31-  ", {3, 3}, {kChange}, {}, 0},
      {"left from the first digit after a leading literal", L"(##)", L"12", {1, 1}, {Key(VK_LEFT)},
       L"(12)", {1, 1}, {}, {}, 0},
      {"right skips the hyphen, left stops after it", D, L"20240131", {3, 3}, {Key(VK_RIGHT), Key(VK_LEFT)},
       L"2024-01-31", {4, 4}, {}, {}, 0},
      {"home goes to the first input position", L"(##)", L"12", {3, 3}, {Key(VK_HOME)}, L"(12)", {1, 1}, {}, {}, 0},
      {"letters, space and clipboard control characters do nothing", D, L"2024", {3, 3},
       {Ch(L'a'), Ch(L'Z'), Ch(L' '), Ch(0x03), Ch(0x16), Ch(0x18), Ch(0x1A), Ch(L'\r')},
       L"2024-  -  ", {3, 3}, {}, {}, 0},
      {"keypad plus and minus move the focus, the main keyboard's plus is refused", D, L"2024013", {9, 9},
       {Ch(L'+', kScanPadPlus), Ch(L'-', kScanPadMinus), Ch(L'+', kScanMainPlus)},
       L"2024-01-3 ", {9, 9}, {kChange}, Join(kMovedNext, kMovedBack), 1},
      {"typing on a literal is refused, caret to the next entry", D, L"2024", {4, 4}, {Ch(L'7')},
       L"2024-  -  ", {5, 5}, {kChange}, {}, 1},
      {"typing over a selected literal only is refused", D, L"20240131", {7, 8}, {Ch(L'7')},
       L"2024-01-31", {8, 8}, {kFull}, kMovedNext, 1},
      {"typing over a selection replaces it", D, L"20240131", {5, 7}, {Ch(L'1')},
       L"2024-13-1 ", {6, 6}, {kChange}, {}, 0},
      {"overwrite refuses what the position does not take", D, L"2024013", {0, 0}, {Key(VK_INSERT), Ch(L'.')},
       L"2024-01-3 ", {0, 0}, {kChange}, {}, 1},
      {"insert toggles to overwrite and back", D, L"2024013", {0, 0},
       {Key(VK_INSERT), Ch(L'9'), Key(VK_INSERT), Ch(L'9')}, L"9902-40-13", {2, 2}, {kChange, kFull}, kMovedNext, 0},
      {"enter confirms and selects all", D, L"20240131", {3, 3}, {Key(VK_RETURN)},
       L"2024-01-31", {0, 10}, {L"0465 1"}, {}, 0},
      {"with the drop-down shown enter and escape close it, F4 opens it", D, L"20240131", {3, 3},
       {Key(VK_RETURN), Key(VK_ESCAPE), Key(VK_F4)}, L"2024-01-31", {0, 10}, {L"0468", L"0468", L"0467"}, {}, 0,
       DroppedDown},
      // Delete still reports; what would change the text beeps; paste and clear do nothing.
      {"a read-only field is not edited", D, L"20240131", {0, 4},
       {Key(VK_DELETE), Ch(L'7'), Ch(VK_BACK), Paste(L"1999"), Msg(WM_CLEAR)},
       L"2024-01-31", {0, 4}, {kChange}, {}, 2, ReadOnly, L"x"},
      // Without a mask the filter holds and the rest is the EDIT class's (Up is Left there):
      // no event code, no step, but keypad plus still moves on.
      {"without a mask the edit class edits", L"", L"", {0, 0},
       Join(Chars(L"5a \x16.-7"), {Key(VK_LEFT), Key(VK_DELETE), Key(VK_RETURN), Key(VK_UP), Key(VK_F4),
                                   Ch(L'+', kScanPadPlus)}), L"5.-", {2, 2}, {}, kMovedNext, 0},
      // Without a control keypad plus is a refused character; Up and Down, the parent window's
      // whatever it is, still step.
      {"the field without its control still edits", D, L"", {0, 0},
       {Ch(L'2'), Ch(L'+', kScanPadPlus), Key(VK_RETURN), Key(VK_F4), Key(VK_UP), Key(VK_DOWN)},
       L"2   -  -  ", {1, 1}, {L"2728 1 1", L"2728 1 0"}, {}, 1, Detached},
      // A value shown is stripped before it is laid: laid as it is, "-" would fill the second position.
      {"a value shown keeps its literals", L"&-&", L"a-b", {0, 0}, {}, L"a-b", {0, 0}, {}, {}, 0},
      // A paste lays formatted or bare text and waits on the next empty position; cut, copy
      // and clear keep the mask; the new digits are reported, but no event code.
      {"a formatted paste", D, L"", {0, 0}, {Paste(L"2024-01-31")}, L"2024-01-31", {10, 10}, {}, {}, 0},
      {"a bare paste into the middle", D, L"2024", {5, 5}, {Paste(L"0131")}, L"2024-01-31", {10, 10}, {}, {}, 0},
      {"a paste leaving a gap to fill", D, L"2024", {5, 5}, {Paste(L"1")}, L"2024-1 -  ", {6, 6}, {}, {}, 0},
      {"copy", D, L"20240131", {0, 10}, {Msg(WM_COPY)}, L"2024-01-31", {0, 10}, {}, {}, 0, 0, L"2024-01-31"},
      {"cut", D, L"20240131", {2, 6}, {Msg(WM_CUT)}, L"2013-1 -  ", {2, 2}, {}, {}, 0, 0, L"24-0"},
      {"clear", D, L"20240131", {0, 10}, {Msg(WM_CLEAR)}, L"    -  -  ", {0, 0}, {}, {}, 0, 0, L"x"},
      {"the host's query is answered and changes nothing", D, L"2024", {2, 2}, {Msg(0x052C, 1)},
       L"2024-  -  ", {2, 2}, {}, {}, 0},
  };
  // clang-format on

  CreateWithMask(D, 8);
  for (const auto& s : scenarios) {
    SCOPED_TRACE(s.name);
    Ctl->Edit.SetMask(s.mask);
    Ctl->Edit.InsertMode = TRUE;
    Ctl->CalendarVisible = (s.state & DroppedDown) != 0;
    Ctl->Edit.SendMessage(EM_SETREADONLY, (s.state & ReadOnly) != 0, 0);
    ShowValue(s.value);
    Ctl->Edit.SetSel(s.sel.first, s.sel.second);
    ASSERT_EQ(Sel(), s.sel);
    Ctl->Edit.ParentCtl = (s.state & Detached) ? nullptr : Ctl;
    for (const auto& in : s.inputs) {
      if (in.kind == Input::Char) {
        SendChar(static_cast<WCHAR>(in.code), in.scan);
      } else if (in.kind == Input::Key) {
        SendKey(in.code);
      } else {
        ASSERT_TRUE(PutClipboardText(Ctl->Edit.m_hWnd, in.clip));
        EXPECT_EQ(SendMessageW(Ctl->Edit.m_hWnd, in.code, 12, 34), in.answer);
      }
    }
    EXPECT_EQ(Text(), s.text);
    EXPECT_EQ(Sel(), s.selAfter);
    EXPECT_SEQ(TakeControlCodes(), s.controlCodes);
    EXPECT_SEQ_FLUSH(Form->Calls, s.formCalls);
    EXPECT_EQ(Ctl->Edit.InvalidInputCount, s.beeps);
    if (s.clipAfter) {
      EXPECT_EQ(ClipboardText(Ctl->Edit.m_hWnd), s.clipAfter);
    }
  }
  Ctl->Edit.ParentCtl = Ctl;
  Ctl->CalendarVisible = FALSE;
}

TEST_F(EditTyping, EachKeystrokeRewritesTextThenReportsInThatOrder) {
  CreateWithMask(L"####-##-##", 8);
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

TEST_F(EditTyping, ShiftLeavesTheSelectionTheEditClassExtended) {
  CreateWithMask(L"####-##-##", 8);
  ShowValue(L"20240131");
  SetForegroundWindow(FormWindow());
  SetFocus(Ctl->Edit.m_hWnd);
  if (!HoldShift(true)) GTEST_SKIP() << "this display does not keep a synthetic Shift held";
  Pump(); // the press reaches the thread's key state too
  // Without Shift the key table's rows snap the caret to an input position. The keys go
  // straight to the window: a dispatch would let the display's own keyboard state
  // overrule the synthetic Shift.
  for (auto key : {std::make_pair(VK_RIGHT, std::make_pair(5, 6)), std::make_pair(VK_LEFT, std::make_pair(4, 5))}) {
    SCOPED_TRACE(key.first);
    Ctl->Edit.SetSel(5, 5);
    SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, key.first, 1);
    EXPECT_EQ(Sel(), key.second);
  }
  EXPECT_TRUE(HoldShift(false));
  Pump(); // the release reaches the thread's key state too
}
