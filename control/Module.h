// State shared by all controls of the process: created when the library is loaded and
// released when it is unloaded.
#pragma once

#include "Gresko.h"
#include "fxauto.h"
#include "fxcoll.h"

class CCalendarCtl;
class CCalendarWnd;

struct CalendarModule {
  HMODULE Instance = nullptr;
  CGDIMng* GdiMng = nullptr;
  CImageMng* ImageMng = nullptr;
  CTypeLibCache TypeLibs;
};

CalendarModule& Module();

// The font manager of the font and image library, or null without one.
inline CFontManager* FontManager() { return Module().GdiMng ? Module().GdiMng->GetFontMng() : nullptr; }
