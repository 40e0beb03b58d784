// A user's hands on the demo form: typing, keys, clicks and pasting as real input, and
// what the user sees (field text, selection, focus, the drop-down). Scripts and the
// headless session both drive the form through here.
#pragma once

#include "Form.h"

#include <string>

class FormDriver {
public:
  explicit FormDriver(DemoForm& form) : m_form(form) {}

  // Each action answers false with Error set when it cannot be done.
  bool Type(const std::wstring& name, const std::wstring& text);
  bool Key(const std::wstring& name, const std::wstring& key);
  bool Click(const std::wstring& name, const std::wstring& part);
  bool ClickDay(const std::wstring& name, const std::wstring& yyyymmdd);
  bool ClickOutside();
  bool Paste(const std::wstring& name, const std::wstring& text);

  bool FieldText(const std::wstring& name, std::wstring& text);
  bool Selection(const std::wstring& name, std::wstring& selection);
  bool CalendarOpen(const std::wstring& name, bool& open);
  // What a screen reader says of the control, asked through oleacc as a reader asks:
  // "role|name|value|state", the role and states in the platform's own words.
  bool Accessible(const std::wstring& name, std::wstring& said);

  std::wstring Error;

private:
  FormControl* Need(const std::wstring& name);
  HWND NeedField(FormControl* c);
  bool FocusField(FormControl* c, bool orDropDown);

  DemoForm& m_form;
};

// The screen point over the day yyyymmdd in a month calendar, found by hit-testing its
// client area; false when the day is not shown.
bool FindCalendarDay(HWND calendar, WORD year, WORD month, WORD day, POINT& screen);
