// Painting: the background, the border in the appearance style, and the arrow or spin
// button, all through the theme library so that every theme looks its own.
#include "CalendarCtl.h"

#include "Formats.h"
#include "Tondril.h"

using vandrel::CDrawHelper;

namespace {

using State = CDrawHelper::EMOUSE_DRAW_STATE;

bool Theme2() { return CColorMgr::getInstance()->GetColorTheme() == CColorMgr::THEME_SECOND; }

bool GlyphExists(int id) {
  int w = 0, h = 0;
  return CDrawHelper::GetImageSize(id, w, h) != FALSE;
}

// Every button face of the control has the same face style, flags and glyph transform.
void DrawFace(CDC* pDC, const CRect& r, int glyph, State state, int edges) {
  CDrawHelper::DrawButton(pDC, r, CDrawHelper::BS_FLAT_FACE, state, edges, CDrawHelper::DRAW_FACE_FLAGS);
  CDrawHelper::DrawImage(pDC, glyph, r, state, CDrawHelper::TPI_NONE, CColorMgr::CT_GLYPH);
}

} // namespace

// The host holds painting off while it changes several controls, and repaints once.
void CCalendarCtl::SetRedraw(BOOL bAllowDraw) {
  if (bAllowDraw && !RedrawEnabled && m_hWnd) Invalidate(TRUE);
  RedrawEnabled = bAllowDraw;
}

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
  if (tamvero::HasDropDownButton(Style)) {
    ButtonRect = DrawArrowButton(pDC, inner);
    ButtonWidth = ButtonRect.Width();
  } else if (tamvero::HasSpinButton(Style)) {
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
  // The fields' shared brush of the colour, most often already made.
  CSharedBrush back;
  back.Hold(Enabled ? BackColor : CColorMgr::getInstance()->GetColor(CColorMgr::CI_DISABLED_BACK, 0));
  ::FillRect(pDC->GetSafeHdc(), &rect, back);
}

CRect CCalendarCtl::DrawArrowButton(CDC* pDC, CRect& rect) {
  // Without the glyph the whole inner rectangle answers as the button.
  if (!GlyphExists(CDrawHelper::IMG_DROPDOWN_ARROW)) return rect;
  // Two pixels past the inner rectangle: the face covers the border on three sides.
  CRect button(rect.right + 2 - ScreenScaled(18), rect.top - 2, rect.right + 2, rect.bottom + 2);
  State state = !Enabled        ? CDrawHelper::MDS_DISABLED
                : ButtonPressed ? CDrawHelper::MDS_PRESSED
                : ArrowHot      ? CDrawHelper::MDS_HOT
                                : CDrawHelper::MDS_NORMAL;
  DrawFace(pDC, button, CDrawHelper::IMG_DROPDOWN_ARROW, state,
           Theme2() ? CDrawHelper::EDGE_TOP | CDrawHelper::EDGE_BOTTOM : CDrawHelper::EDGE_NONE);
  return button;
}

CRect CCalendarCtl::DrawSpinButton(CDC* pDC, CRect& rect) {
  if (!GlyphExists(CDrawHelper::IMG_SPIN_UP)) return CRect();
  int h = rect.bottom - rect.top;
  // The same split as CheckInSpinUpRect.
  int m = rect.bottom - h / 2;
  const int left = rect.right + 2 - ScreenScaled(18);
  CRect up(left, rect.top - 2, rect.right + 2, m);
  CRect down(left, m, rect.right + 2, rect.bottom + 2);
  State upState = CDrawHelper::MDS_NORMAL, downState = CDrawHelper::MDS_NORMAL;
  if (!Enabled) {
    upState = downState = CDrawHelper::MDS_DISABLED;
  } else if (ButtonPressed) {
    if (SpinUpPressed)
      upState = CDrawHelper::MDS_PRESSED;
    else if (SpinDownPressed)
      downState = CDrawHelper::MDS_PRESSED;
  }
  int upEdges = CDrawHelper::EDGE_NONE, downEdges = CDrawHelper::EDGE_NONE;
  if (!SuppressSpinEdges && Theme2()) upEdges = CDrawHelper::EDGE_TOP, downEdges = CDrawHelper::EDGE_BOTTOM;
  DrawFace(pDC, up, CDrawHelper::IMG_SPIN_UP, upState, upEdges);
  DrawFace(pDC, down, CDrawHelper::IMG_SPIN_DOWN, downState, downEdges);
  return CRect(left, rect.top - 2, rect.right + 2, rect.bottom + 2);
}

void CCalendarCtl::DrawAppearanceStyle(CDC* pDC, const CRect& rcBounds) {
  if (AppearanceStyle < 1 || AppearanceStyle > 3) return;
  int edges = CDrawHelper::EDGE_NONE;
  if (Theme2())
    edges = tamvero::HasButton(Style) ? CDrawHelper::EDGE_LEFT | CDrawHelper::EDGE_RIGHT : CDrawHelper::EDGE_ALL;
  CDrawHelper::DrawCtrlBorder(pDC, rcBounds, Enabled ? CDrawHelper::MDS_NORMAL : CDrawHelper::MDS_DISABLED, edges,
                              CDrawHelper::FS_SINGLE);
}
