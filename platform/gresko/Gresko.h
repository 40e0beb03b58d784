// Font and image library of the form runtime: one font manager and one image manager
// per process, and the parser of anchor texts.
#pragma once

#ifdef GRESKO_BUILD
#define GRESKO_API __declspec(dllexport)
#else
#define GRESKO_API __declspec(dllimport)
#endif

#include "fxgdi.h"

#include <map>
#include <tuple>

class GRESKO_API CFontManager {
public:
  CFontManager() = default;
  virtual ~CFontManager();
  CFontManager(const CFontManager&) = delete;
  CFontManager& operator=(const CFontManager&) = delete;
  // The font of index at scale; the manager keeps it, callers never free it. Null for
  // an unknown index.
  CFont* GetFont(int index, float scale, BOOL bold);
  static int FontCount();

private:
  std::map<std::tuple<int, int, bool>, CFont*> m_fonts;
};

// The GDI manager serves fonts itself: its font manager is the same object.
class GRESKO_API CGDIMng : public CFontManager {
public:
  CFontManager* GetFontMng() { return this; }
};

class GRESKO_API CImageMng {
public:
  int ImageCount() const { return 3; }
};

GRESKO_API CGDIMng* GetGDIMng();
GRESKO_API CImageMng* GetImageMng();

// Reads an anchor text such as "Left,Top" or "Right:8,Bottom:4" (edges, optionally
// with a margin). Returns the edge flags (1 left, 2 top, 4 right, 8 bottom) and sets
// the margin of each named edge into v1..v4 (left, top, right, bottom); the others are
// left as they were.
GRESKO_API int GetDgnAnchorPropertyData(CString anchor, int* v1, int* v2, int* v3, int* v4);

// Test configuration: while set, GetGDIMng answers null (a host without fonts).
GRESKO_API void GreskoSetNullFontManager(BOOL nullManager);
