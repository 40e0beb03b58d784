// Script mode: a JScript or VBScript file drives the demo form through the "form" item.
#pragma once

#include "Form.h"
#include "ScriptHost.h"

#include <string>

// Runs text in language on form; controls' events call the script's name_Event functions.
// Answers the exit code (see ScriptHost::Run).
int RunScriptText(DemoForm& form, const std::wstring& language, const std::wstring& text, ScriptHost::Output out);
// Reads path (UTF-8 or UTF-16 with its byte-order mark) and runs it by its extension.
int RunScriptFile(DemoForm& form, const std::wstring& path, ScriptHost::Output out);
