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
  // Thread id to that thread's drop-down watchers.
  CMapPtrToPtr CalendarHookMap{10};
  // The drop-down that is open, and its control; both null when none is.
  CCalendarWnd* OpenCalendarWnd = nullptr;
  CCalendarCtl* OpenCalendarCtl = nullptr;
};

CalendarModule& Module();

// The font manager of the font and image library, or null without one.
inline CFontManager* FontManager() { return Module().GdiMng ? Module().GdiMng->GetFontMng() : nullptr; }
