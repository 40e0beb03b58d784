// Shared by the edit tests: a standalone field on its own frame for the model, a control
// whose window's messages are recorded, and small helpers for text, selection and the
// clipboard.
#pragma once

#include "TestHost.h"

#include <string>
#include <vector>

namespace edittest {

// The field's window text as a std::wstring.
std::wstring TextOf(const CCalendarEdit& edit);
// EM_GETSEL as a pair.
std::pair<int, int> SelOf(const CCalendarEdit& edit);
// Every record's type and character, for comparisons.
std::vector<int> TypesOf(const CCalendarEdit& edit);
std::wstring CharsOf(const CCalendarEdit& edit);

// lParam of a WM_CHAR or WM_KEYDOWN carrying a scan code.
inline LPARAM KeyFlags(UINT scan) { return static_cast<LPARAM>(1 | (scan << 16)); }

bool PutClipboardText(HWND owner, const std::wstring& text);
std::wstring ClipboardText(HWND owner);

// A field with no control: ParentCtl stays null, so only the model and the window act.
class StandaloneEdit : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  CWnd* Frame = nullptr;
  CCalendarEdit* Edit = nullptr;
};

// Records what the control window receives from its field: WM_COMMAND notifications
// from the field, the event codes, the caption updates, the drop-down and step messages.
// Installed on top of the control window's procedure chain, as any other subclass.
class ControlMessageLog {
public:
  void Attach(HWND control, HWND edit);
  void Detach();
  std::vector<std::wstring> Take();
  std::vector<std::wstring> Entries;
  // The caption handler turns digits into the control's value; tests of the field alone
  // answer it here so that the value logic cannot rewrite the text under them.
  bool AnswerCaption = true;
  // The drop-down and the stepping are the control's; the field's tests answer them
  // here, so that no calendar opens and no value steps under them.
  bool AnswerDropDownAndStep = true;
  // Stress runs answer every custom message here, to watch the field alone.
  bool AnswerAllCustom = false;

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_control = nullptr;
  HWND m_edit = nullptr;
  WNDPROC m_prev = nullptr;
};

// A real control on a real form with its field masked and its messages recorded.
class EditControlFixture : public testhost::ControlFixture {
protected:
  void TearDown() override;
  void CreateWithMask(const wchar_t* mask, int fullLength);
  // Sets the text as the control's value display does, then clears every record.
  void ShowValue(const wchar_t* text);
  void ClearRecords();
  void SendChar(WCHAR ch, UINT scan = 0);
  void SendKey(UINT vk);
  std::wstring Text() const { return TextOf(Ctl->Edit); }
  std::pair<int, int> Sel() const { return SelOf(Ctl->Edit); }
  // Recorded control messages, without the notifications and caption updates.
  std::vector<std::wstring> TakeControlCodes();
  ControlMessageLog Log;
};

} // namespace edittest
