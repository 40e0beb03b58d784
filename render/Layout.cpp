// Layout of the field inside the frame, the font, the colours and the cut window
// outline of the second colour theme.
#include "CalendarCtl.h"
#include "Formats.h"

#include "CalendarWnd.h"
#include "Module.h"
#include "Tondril.h"

#include <algorithm>

int CCalendarCtl::ScreenScaled(int px) {
  // The screen's scale is fixed for the session: read it once.
  static const int dpi = [] {
    CClientDC screen(nullptr);
    int d = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    return d > 0 ? d : 96;
  }();
  return ::MulDiv(px, dpi, 96);
}

void CCalendarCtl::OnSize(UINT, int cx, int cy) {
  Default();
  ClientWidth = static_cast<short>(cx);
  ClientHeight = static_cast<short>(cy);
  if (Edit.m_hWnd) ChangeEditPosition();
  if (CColorMgr::getInstance()->GetColorTheme() == CColorMgr::THEME_SECOND) {
    // Corners cut by one pixel at the top and two at the bottom.
    const POINT outline[] = {{0, 1}, {1, 0}, {cx - 1, 0}, {cx, 1}, {cx, cy - 2}, {cx - 2, cy}, {1, cy}, {0, cy - 2}};
    CRgn region;
    if (region.CreatePolygonRgn(outline, 8, ALTERNATE) && ::SetWindowRgn(m_hWnd, region, FALSE))
      region.Detach(); // the window owns it now
  }
}

CRect CCalendarCtl::FieldRect() const {
  int width = ClientWidth - 7 - (tamvero::HasButton(Style) ? ButtonWidth : 0);
  int top = 2, height = ClientHeight - 4;
  if (TextHeight > 0 && ClientHeight > TextHeight + 4) {
    height = TextHeight;
    top = (ClientHeight - TextHeight) / 2;
  }
  return CRect(5, top, 5 + std::max(width, 0), top + std::max(height, 0));
}

void CCalendarCtl::ChangeEditPosition(BOOL selectAll) {
  if (!Edit.m_hWnd) return;
  // A field being made is laid out once, when the control is whole.
  if (InCreate) return;
  const CRect want = FieldRect();
  CRect now;
  ::GetWindowRect(Edit.m_hWnd, &now);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&now), 2);
  // Moving a field to where it already is still costs the window manager a full move, and
  // its text already shows as it did.
  if (!(now == want) || !(::GetWindowLongW(Edit.m_hWnd, GWL_STYLE) & WS_VISIBLE)) {
    ::SetWindowPos(Edit.m_hWnd, nullptr, want.left, want.top, want.Width(), want.Height(),
                   SWP_SHOWWINDOW | SWP_NOZORDER);
    selectAll = TRUE;
  }
  if (!selectAll) return;
  // A text longer than the field shows from its beginning.
  Edit.SetSel(0, 0);
  Edit.SetSel(0, -1);
}

HFONT CCalendarCtl::FieldFont() {
  CFontManager* fonts = FontManager();
  CFont* font = fonts ? fonts->GetFont(FontIndex, std::min(ScaleX, ScaleY), FALSE) : nullptr;
  return font ? static_cast<HFONT>(*font) : nullptr;
}

void CCalendarCtl::MeasureTextHeight(HFONT font) {
  // A font keeps its height while it lives: each font the field gets is measured once.
  if (font && font == MeasuredFont) return;
  // A memory context measures as the screen does, without a window's context from the
  // window manager (and, under X, without the display's font set-up).
  CMemDC dc(nullptr);
  CSelectObject select(dc, font);
  SIZE size = {};
  if (::GetTextExtentPoint32W(dc, L"W", 1, &size)) {
    TextHeight = size.cy;
    MeasuredFont = font;
  }
}

void CCalendarCtl::FontChange() {
  CFontManager* fonts = FontManager();
  if (!m_hWnd || !fonts) return;
  if (Edit.m_hWnd) {
    HFONT hFont = FieldFont();
    // A field still being made is painted whole when it is first shown.
    Edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), InCreate ? FALSE : TRUE);
    MeasureTextHeight(hFont);
    ChangeEditPosition();
  }
  if (CalendarWnd && CalendarWnd->m_hWnd) {
    CalendarWnd->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(FieldFont()), TRUE);
    CalendarWnd->SizeMinReq(TRUE);
    CRect r;
    if (CalendarWnd->GetMinReqRect(r)) ::MoveWindow(CalendarWnd->m_hWnd, r.left, r.top, r.Width(), r.Height(), TRUE);
  }
}

void CCalendarCtl::ColorChange() {
  if (IsRunMode()) {
    BackColor = ThemeColor(TRUE);
    ForeColor = ThemeColor(FALSE);
    if (Edit.m_hWnd) {
      Edit.SetBackColor(BackColor);
      Edit.SetForeColor(ForeColor);
      Edit.Invalidate(TRUE);
    }
  }
  if (m_hWnd) Invalidate(TRUE);
}
