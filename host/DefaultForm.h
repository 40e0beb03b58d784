// The form the demo opens with: every style of the control in several formats, each
// with a label that says what it is.
#pragma once

#include "Form.h"

#include <string>

struct DefaultControl {
  const wchar_t* Name;
  const wchar_t* Props;
  const wchar_t* Label;
};

// The default form's controls, top to bottom (the focus chain's order).
const DefaultControl* DefaultControls(size_t& count);
bool BuildDefaultForm(DemoForm& form, std::wstring& error);
