// Theme library of the form runtime: the colour manager with its themes, and the
// themed drawing of borders, buttons and glyphs.
#pragma once

#ifdef TONDRIL_BUILD
#define TONDRIL_API __declspec(dllexport)
#else
#define TONDRIL_API __declspec(dllimport)
#endif

#include "fxgdi.h"

class TONDRIL_API CColorMgr {
public:
  enum COLORTRANSFORM { CT_NONE = 0, CT_GLYPH = 16 };
  // Colour indexes of the controls' own parts.
  enum COLORINDEX { CI_DISABLED_BACK = 118, CI_DROPDOWN_FRAME = 165, CI_DISABLED_TEXT = 167 };
  // Only the second theme is drawn differently by the controls (edged buttons, cut corners).
  enum COLORTHEME { THEME_FIRST = 1, THEME_SECOND = 2 };
  static CColorMgr* getInstance();
  // The colour of index in the active theme; reserved is 0 for every caller.
  COLORREF GetColor(int index, int reserved);
  int GetColorTheme() const { return m_theme; }
  void SetColorTheme(int theme) { m_theme = theme; }

private:
  int m_theme = 1;
};

namespace vandrel {

class TONDRIL_API CDrawHelper {
public:
  enum EMOUSE_DRAW_STATE { MDS_NORMAL = 0, MDS_PRESSED = 1, MDS_HOT = 2, MDS_DISABLED = 8 };
  enum EBUTTON_STYLE { BS_FLAT_FACE = 5 };
  enum EFRAME_STYLE { FS_SINGLE = 3 };
  enum ETEXT_POSITION_WITH_IMAGE { TPI_NONE = 0 };
  // The edges a border or button face draws, and the one face flag the controls pass.
  enum EEDGE { EDGE_NONE = 0, EDGE_LEFT = 1, EDGE_TOP = 2, EDGE_RIGHT = 4, EDGE_BOTTOM = 8, EDGE_ALL = 15 };
  enum { DRAW_FACE_FLAGS = 0x10000000 };
  // Images of the library.
  enum EIMAGE { IMG_DROPDOWN_ARROW = 1370, IMG_SPIN_UP = 2205, IMG_SPIN_DOWN = 2206 };

  static void DrawCtrlBorder(CDC* pDC, const CRect& rect, EMOUSE_DRAW_STATE state, int edges, EFRAME_STYLE style);
  static void DrawButton(CDC* pDC, const CRect& rect, EBUTTON_STYLE style, EMOUSE_DRAW_STATE state, int edges,
                         DWORD flags);
  static void DrawImage(CDC* pDC, int imageId, const CRect& rect, EMOUSE_DRAW_STATE state,
                        ETEXT_POSITION_WITH_IMAGE position, CColorMgr::COLORTRANSFORM transform);
  // Non-zero when the image exists.
  static BOOL GetImageSize(int imageId, int& width, int& height);
};

} // namespace vandrel

// Test configuration: make an image id missing, and receive one line per drawing call
// ("DrawButton l,t,r,b style=5 state=1 edges=0 flags=10000000").
TONDRIL_API void TondrilSetImageMissing(int imageId, BOOL missing);
TONDRIL_API void TondrilSetDrawLog(void (*log)(const wchar_t* line));
