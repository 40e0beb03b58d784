// Painting: the background, the border in the appearance style, and the arrow or spin
// button, all through the theme library so that every theme looks its own.
#include "CalendarCtl.h"

#include "Tondril.h"

using vandrel::CDrawHelper;

namespace {

const int kArrowGlyph = 1370;
const int kSpinUpGlyph = 2205;
const int kSpinDownGlyph = 2206;
const int kDisabledBackIndex = 118;
// Every button face of the control uses the same face style and flag.
const auto kButtonStyle = static_cast<CDrawHelper::EBUTTON_STYLE>(5);
const DWORD kButtonFlags = 0x10000000;
const auto kFrameStyle = static_cast<CDrawHelper::EFRAME_STYLE>(3);
const auto kNoText = static_cast<CDrawHelper::ETEXT_POSITION_WITH_IMAGE>(0);
const auto kGlyphTransform = static_cast<CColorMgr::COLORTRANSFORM>(16);

bool HasButton(int style) { return style == 0 || style == 2 || style == 4; }

CDrawHelper::EMOUSE_DRAW_STATE State(int s) { return static_cast<CDrawHelper::EMOUSE_DRAW_STATE>(s); }

bool Theme2() { return CColorMgr::getInstance()->GetColorTheme() == 2; }

bool GlyphExists(int id) {
  int w = 0, h = 0;
  return CDrawHelper::GetImageSize(id, w, h) != FALSE;
}

void DrawFace(CDC* pDC, const CRect& r, int glyph, int state, int edges) {
  CDrawHelper::DrawButton(pDC, r, kButtonStyle, State(state), edges, kButtonFlags);
  CDrawHelper::DrawImage(pDC, glyph, r, State(state), kNoText, kGlyphTransform);
}

} // namespace

void CCalendarCtl::OnPaint() {
  CPaintDC dc(m_hWnd);
  CRect client = GetClientRect();
  if (IsWindowVisible() && dc.RectVisible(client)) OnDraw(&dc, client, client);
}

void CCalendarCtl::OnDraw(CDC* pDC, const CRect& rcBounds, const CRect&) {
  if (!RedrawEnabled) return;
  ClientWidth = static_cast<short>(LOWORD(rcBounds.right));
  ClientHeight = static_cast<short>(LOWORD(rcBounds.bottom));

  CRect inner = rcBounds;
  DrawBoarder(pDC, inner);
  if (Style == 0) {
    ButtonRect = DrawArrowButton(pDC, inner);
    ButtonWidth = ButtonRect.Width();
  } else if (Style == 2 || Style == 4) {
    ButtonRect = DrawSpinButton(pDC, inner);
    ButtonWidth = ButtonRect.Width();
  }
  // Last, so that the border lies over the button's overhang.
  DrawAppearanceStyle(pDC, rcBounds);
}

void CCalendarCtl::DrawBoarder(CDC* pDC, CRect& rect) {
  if (!pDC || !pDC->GetSafeHdc()) return;
  if (AppearanceStyle == 0)
    pDC->Draw3dRect(rect, BackColor, BackColor);
  else
    rect.DeflateRect(1, 1);
  pDC->SetTextColor(ForeColor);
  CBrush back(Enabled ? BackColor : CColorMgr::getInstance()->GetColor(kDisabledBackIndex, 0));
  ::FillRect(pDC->GetSafeHdc(), &rect, back);
}

CRect CCalendarCtl::DrawArrowButton(CDC* pDC, CRect& rect) {
  // Without the glyph the whole inner rectangle answers as the button.
  if (!GlyphExists(kArrowGlyph)) return rect;
  // Two pixels past the inner rectangle: the face covers the border on three sides.
  CRect button(rect.right + 2 - 18, rect.top - 2, rect.right + 2, rect.bottom + 2);
  int state = !Enabled ? 8 : ButtonPressed ? 1 : ArrowHot ? 2 : 0;
  DrawFace(pDC, button, kArrowGlyph, state, Theme2() ? 10 : 0);
  return button;
}

CRect CCalendarCtl::DrawSpinButton(CDC* pDC, CRect& rect) {
  if (!GlyphExists(kSpinUpGlyph)) return CRect();
  int h = rect.bottom - rect.top;
  // The same split as CheckInSpinUpRect.
  int m = rect.bottom - h / 2;
  CRect up(rect.right - 16, rect.top - 2, rect.right + 2, m);
  CRect down(rect.right - 16, m, rect.right + 2, rect.bottom + 2);
  int upState = 0, downState = 0;
  if (!Enabled) {
    upState = downState = 8;
  } else if (ButtonPressed) {
    if (SpinUpPressed)
      upState = 1;
    else if (SpinDownPressed)
      downState = 1;
  }
  int upEdges = 0, downEdges = 0;
  if (!SuppressSpinEdges && Theme2()) upEdges = 2, downEdges = 8;
  DrawFace(pDC, up, kSpinUpGlyph, upState, upEdges);
  DrawFace(pDC, down, kSpinDownGlyph, downState, downEdges);
  return CRect(rect.right - 16, rect.top - 2, rect.right + 2, rect.bottom + 2);
}

void CCalendarCtl::DrawAppearanceStyle(CDC* pDC, const CRect& rcBounds) {
  if (AppearanceStyle < 1 || AppearanceStyle > 3) return;
  int edges = 0;
  if (Theme2()) edges = HasButton(Style) ? 5 : 15;
  CDrawHelper::DrawCtrlBorder(pDC, rcBounds, State(Enabled ? 0 : 8), edges, kFrameStyle);
}
