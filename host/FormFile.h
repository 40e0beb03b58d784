// The form's file: for every control its name, its place and its stored property
// stream (the control's own Serialize), in creation order.
#pragma once

#include "Form.h"

#include <string>
#include <vector>

// The control's property stream as its Serialize stores it.
std::vector<BYTE> StoreControl(CBaseCtl* ctl);
bool SaveFormFile(DemoForm& form, const std::wstring& path, std::wstring& error);
// Replaces the form's controls by the file's, each made from its stream.
bool LoadFormFile(DemoForm& form, const std::wstring& path, std::wstring& error);
