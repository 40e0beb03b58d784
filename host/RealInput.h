// Real keyboard and mouse input through SendInput, as a user's hands would give it, and
// the wait until this thread has processed all of it.
#pragma once

#include <windows.h>

#include <string>

namespace realinput {

// One key of the keyboard: its virtual key, scan code and whether it is an extended key.
struct Key {
  WORD Vk;
  WORD Scan;
  bool Extended;
};

// The keys a script may name ("Up", "F4", "KeypadPlus" ...); false for an unknown name.
bool KeyByName(const std::wstring& name, Key& key);

// Brings top to the foreground, so that the keyboard input goes to this thread.
void BringToFront(HWND top);
// Presses and releases key, with Shift and Control held when asked.
bool PressKey(const Key& key, bool shift = false, bool control = false);
// Types one character on the main keyboard (Shift where the layout needs it); characters
// the layout has no key for go as Unicode input.
bool TypeChar(wchar_t ch);
// A quick left click (press and release) at a point of the screen.
bool ClickAt(POINT screen);
// Moves the pointer to a point of the screen and presses (down) or releases the left button.
bool PressAt(POINT screen, bool down);
// Pumps this thread's messages until the input given so far has been processed.
void Settle();

} // namespace realinput
