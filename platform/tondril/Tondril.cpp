#include "Tondril.h"

#include <cstdarg>
#include <cstdio>
#include <set>

namespace {
std::set<int> g_missing;
void (*g_log)(const wchar_t*) = nullptr;

void Log(const wchar_t* fmt, ...) {
  if (!g_log) return;
  wchar_t line[256];
  va_list ap;
  va_start(ap, fmt);
  _vsnwprintf(line, 255, fmt, ap);
  va_end(ap);
  line[255] = 0;
  g_log(line);
}

COLORREF Mix(COLORREF a, COLORREF b, int percentB) {
  auto ch = [&](int shift) {
    int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return static_cast<COLORREF>((x * (100 - percentB) + y * percentB) / 100) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

COLORREF StateFace(int theme, int state) {
  COLORREF normal = theme == 2 ? RGB(232, 240, 250) : RGB(236, 236, 236);
  switch (state) {
  case 1:
    return theme == 2 ? RGB(170, 200, 235) : RGB(200, 200, 200);
  case 2:
    return theme == 2 ? RGB(210, 228, 248) : RGB(222, 234, 246);
  case 8:
    return RGB(244, 244, 244);
  default:
    return normal;
  }
}
} // namespace

CColorMgr* CColorMgr::getInstance() {
  static CColorMgr manager;
  return &manager;
}

COLORREF CColorMgr::GetColor(int index, int) {
  switch (index) {
  case 47:
    return m_theme == 2 ? RGB(250, 252, 255) : RGB(255, 255, 255);
  case 48:
    return RGB(0, 0, 0);
  case CI_DISABLED_BACK:
    return RGB(236, 236, 236);
  case CI_DROPDOWN_FRAME:
    return m_theme == 2 ? RGB(74, 120, 180) : RGB(100, 100, 100);
  case CI_DISABLED_TEXT:
    return RGB(128, 128, 128);
  default: {
    // Other indexes: a stable palette of soft colours.
    unsigned h = static_cast<unsigned>(index) * 2654435761u;
    return RGB(128 + (h & 0x7F), 128 + ((h >> 8) & 0x7F), 128 + ((h >> 16) & 0x7F));
  }
  }
}

namespace vandrel {

void CDrawHelper::DrawCtrlBorder(CDC* pDC, const CRect& r, EMOUSE_DRAW_STATE state, int edges, EFRAME_STYLE style) {
  Log(L"DrawCtrlBorder %d,%d,%d,%d state=%d edges=%d style=%d", r.left, r.top, r.right, r.bottom, state, edges, style);
  if (!pDC || !pDC->GetSafeHdc()) return;
  COLORREF c =
      state == MDS_DISABLED ? RGB(190, 190, 190) : CColorMgr::getInstance()->GetColor(CColorMgr::CI_DROPDOWN_FRAME, 0);
  pDC->Draw3dRect(r, c, c);
}

void CDrawHelper::DrawButton(CDC* pDC, const CRect& r, EBUTTON_STYLE style, EMOUSE_DRAW_STATE state, int edges,
                             DWORD flags) {
  Log(L"DrawButton %d,%d,%d,%d style=%d state=%d edges=%d flags=%lx", r.left, r.top, r.right, r.bottom, style, state,
      edges, static_cast<unsigned long>(flags));
  if (!pDC || !pDC->GetSafeHdc()) return;
  int theme = CColorMgr::getInstance()->GetColorTheme();
  COLORREF face = StateFace(theme, state);
  pDC->FillSolidRect(r, face);
  COLORREF edge = Mix(face, RGB(0, 0, 0), state == MDS_PRESSED ? 45 : 25);
  pDC->Draw3dRect(r, edge, edge);
}

void CDrawHelper::DrawImage(CDC* pDC, int imageId, const CRect& r, EMOUSE_DRAW_STATE state,
                            ETEXT_POSITION_WITH_IMAGE position, CColorMgr::COLORTRANSFORM transform) {
  Log(L"DrawImage %d %d,%d,%d,%d state=%d position=%d transform=%d", imageId, r.left, r.top, r.right, r.bottom, state,
      position, transform);
  int w = 0, h = 0;
  if (!pDC || !pDC->GetSafeHdc() || !GetImageSize(imageId, w, h)) return;
  COLORREF ink = state == MDS_DISABLED ? RGB(170, 170, 170) : RGB(40, 40, 40);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  bool down = imageId != IMG_SPIN_UP;
  // A small filled triangle.
  POINT pts[3];
  if (down) {
    pts[0] = {cx - w / 2, cy - h / 2};
    pts[1] = {cx + w / 2 + 1, cy - h / 2};
    pts[2] = {cx, cy + (h + 1) / 2};
  } else {
    pts[0] = {cx - w / 2, cy + h / 2};
    pts[1] = {cx + w / 2 + 1, cy + h / 2};
    pts[2] = {cx, cy - (h + 1) / 2};
  }
  CBrush brush(ink);
  CPen pen(PS_SOLID, 1, ink);
  CSelectObject sb(pDC->GetSafeHdc(), brush.GetSafeHandle());
  CSelectObject sp(pDC->GetSafeHdc(), pen.GetSafeHandle());
  Polygon(pDC->GetSafeHdc(), pts, 3);
}

BOOL CDrawHelper::GetImageSize(int imageId, int& width, int& height) {
  if (g_missing.count(imageId)) return FALSE;
  switch (imageId) {
  case IMG_DROPDOWN_ARROW:
    width = 7, height = 4;
    return TRUE;
  case IMG_SPIN_UP:
  case IMG_SPIN_DOWN:
    width = 5, height = 3;
    return TRUE;
  default:
    return FALSE;
  }
}

} // namespace vandrel

TONDRIL_API void TondrilSetImageMissing(int imageId, BOOL missing) {
  if (missing)
    g_missing.insert(imageId);
  else
    g_missing.erase(imageId);
}

TONDRIL_API void TondrilSetDrawLog(void (*log)(const wchar_t*)) { g_log = log; }
