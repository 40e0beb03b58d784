// The gallery: every style with every format it accepts, in each state a user meets
// (empty, holding a value, focused, disabled, drop-down open, spin button held), as PNG
// tiles and one contact sheet for the screen's scale.
#pragma once

#include "Form.h"

#include <functional>
#include <string>

struct GalleryTile {
  int Style = 0;
  int Format = 0;       // DateFormat for a date style, TimeFormat for a time style
  const wchar_t* State; // "empty", "value", "focused", "disabled", "open", "pressed"
  FormControl* Control; // the control, in that state
  RECT Screen;          // what the tile shows, in screen coordinates
};

// The screen's pixels per logical inch.
int GalleryDpi();
// Shows every tile in turn; inspect (when set) sees each before it is captured. With
// outDir empty nothing is written; otherwise tiles go to outDir\tiles-DPI and the
// contact sheet to outDir\sheet-DPI.png. Answers the number of tiles that failed.
int RunGallery(DemoForm& form, const std::wstring& outDir, const std::function<void(const GalleryTile&)>& inspect,
               std::wstring& log);
