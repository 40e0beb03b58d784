// The scripted session scripts/demo runs without a display: it types, steps and clicks
// through the default form, and writes screenshots and a transcript into a folder.
#pragma once

#include "Form.h"

#include <string>

// Answers 0 when the transcript was written. A step the control cannot do yet is noted
// in the transcript as not done, and the session goes on.
int RunHeadlessSession(DemoForm& form, const std::wstring& outDir);
