// Random keys, selections, clipboard operations and outside writes, many thousands per
// mask from a fixed seed; after each one the field must still be its mask.
#include "TestHost.h"
#include "Rng.h"

#include <cstdint>
#include <cwctype>

using namespace testhost;

namespace {

// Empty string when every invariant holds, otherwise what broke.
std::string Check(const CCalendarEdit& edit, const MaskRecords& ref) {
  if (edit.RecordCount() != static_cast<int>(ref.types.size())) return "record count changed";
  std::wstring expected;
  bool ended = false;
  int entries = 0;
  for (int i = 0; i < edit.RecordCount(); ++i) {
    const CMaskData* rec = edit.RecordAt(i);
    if (rec->Type != ref.types[static_cast<size_t>(i)]) return "type changed at " + std::to_string(i);
    if (rec->IsEntry()) {
      ++entries;
      const bool ok =
          rec->Char == edit.PromptChar || (rec->IsValidChar(rec->Char) && rec->ConvertChar(rec->Char) == rec->Char);
      if (!ok) return "entry " + std::to_string(i) + " holds an unacceptable character";
    } else if (rec->Char != ref.chars[static_cast<size_t>(i)]) {
      return "literal " + std::to_string(i) + " moved or changed";
    }
    // A literal NUL (a trailing backslash) ends the window text.
    if (rec->Char == 0) ended = true;
    if (!ended) expected += rec->Char;
  }
  if (TextOf(edit) != expected) return "window text differs from the records";
  if (edit.GetInputData().GetLength() != entries) return "input data length differs from the entry count";
  auto sel = SelOf(edit);
  if (sel.first < 0 || sel.first > sel.second || sel.second > static_cast<int>(expected.size()))
    return "selection out of the text";
  return std::string();
}

} // namespace

class EditStorm : public EditControlFixture {};

TEST_F(EditStorm, TenThousandRandomOperationsPerMaskKeepTheMask) {
  const wchar_t* const masks[] = {L"####-##-##", L"####\uB144##\uC6D4##\uC77C", L"##:##:##", L"A?><&-##",
                                  L"\\#(&&)\\\\##.##\\"};
  const WCHAR chars[] = {L'0', L'1', L'2', L'3',    L'4',    L'5', L'6', L'7', L'8', L'9', L'0', L'1', L'9',
                         L'.', L'+', L'-', VK_BACK, VK_BACK, L'a', L'Q', L' ', 0x03, 0x16, 0x18, 0xE9, 0x101};
  const UINT keys[] = {VK_DELETE, VK_DELETE, VK_LEFT,   VK_RIGHT,  VK_HOME, VK_END,  VK_INSERT,
                       VK_UP,     VK_DOWN,   VK_RETURN, VK_ESCAPE, VK_F4,   VK_BACK, 'A'};
  const wchar_t* const clips[] = {L"2024-01-31", L"20240131",  L"0131", L"12",           L"ab", L"9x-8",
                                  L"",           L"\u00E9A1:", L"(#)",  L"2024\uB14401", L"  7"};
  const wchar_t* const values[] = {L"20240131", L"2024-01-31", L"", L"1", L"235959", L"x9Y", L"2024\uB14401\uC6D431"};
  const int kOps = 10000;

  CreateWithMask(masks[0], 8);
  Log.AnswerAllCustom = true;
  for (const wchar_t* mask : masks) {
    Rng rng(0x7A3E5EEDull);
    Ctl->Edit.SetMask(mask);
    Ctl->Edit.FullLength = 8;
    const MaskRecords ref = RecordsOf(Ctl->Edit);
    std::wstring lastOp;
    for (int op = 0; op < kOps; ++op) {
      const int kind = rng.Below(100);
      HWND h = Ctl->Edit.m_hWnd;
      if (kind < 50) {
        WCHAR c = rng.Pick(chars);
        UINT scan = (c == L'+' || c == L'-') && rng.Below(4) == 0 ? (c == L'+' ? 0x4E : 0x4A) : 0;
        SendMessageW(h, WM_CHAR, c, KeyFlags(scan));
        lastOp = L"char " + std::to_wstring(c);
      } else if (kind < 70) {
        UINT vk = rng.Pick(keys);
        SendMessageW(h, WM_KEYDOWN, vk, 1);
        lastOp = L"key " + std::to_wstring(vk);
      } else if (kind < 85) {
        int len = Ctl->Edit.RecordCount();
        int a = rng.Below(len + 4) - 2, b = rng.Below(len + 4) - 2;
        Ctl->Edit.SetSel(a, b);
        lastOp = L"select " + std::to_wstring(a) + L".." + std::to_wstring(b);
      } else if (kind < 95) {
        const UINT msgs[] = {WM_COPY, WM_CUT, WM_CLEAR, WM_PASTE, WM_PASTE};
        UINT m = rng.Pick(msgs);
        if (m == WM_PASTE && rng.Below(2) == 0) {
          ASSERT_TRUE(PutClipboardText(h, rng.Pick(clips)));
        }
        SendMessageW(h, m, 0, 0);
        lastOp = L"clipboard " + std::to_wstring(m);
      } else {
        const wchar_t* v = rng.Pick(values);
        SetWindowTextW(h, v);
        lastOp = std::wstring(L"set text ") + v;
      }
      std::string broken = Check(Ctl->Edit, ref);
      if (!broken.empty()) {
        FAIL() << "mask " << testing::PrintToString(std::wstring(mask)) << " op " << op << " ("
               << testing::PrintToString(lastOp) << "): " << broken << "; text "
               << testing::PrintToString(TextOf(Ctl->Edit));
      }
      if (op % 500 == 0) ClearRecords();
    }
  }
}
