// Every tile of the gallery at the screen's scale (ctest runs it at 96, 144 and 192 DPI):
// nothing a user should see is clipped or left at the 96 DPI size.
#include "Gallery.h"
#include "HostFixture.h"
#include "fxgdi.h"

#include <commctrl.h>

#include <set>

TEST_F(HostTest, GalleryTilesShowWholeAtTheScreensScale) {
  const int dpi = GalleryDpi();
  // The prefix's scale took: a run meant for 144 DPI that fell back to 96 proves nothing.
  const wchar_t* want = _wgetenv(L"TAMVERO_DPI");
  ASSERT_EQ(dpi, want ? _wtoi(want) : 96);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  std::set<std::wstring> states;
  int tiles = 0;
  std::wstring log;
  int failures = RunGallery(
      *Form, L"",
      [&](const GalleryTile& t) {
        ++tiles;
        states.insert(t.State);
        SCOPED_TRACE(testing::Message() << "style " << t.Style << " format " << t.Format << " " << t.State);
        HWND ctl = t.Control->Hwnd(), field = DemoForm::FieldOf(*t.Control);
        ASSERT_NE(field, nullptr);
        // The field's text, in the field's own font, fits the field's client area.
        wchar_t text[64] = {};
        GetWindowTextW(field, text, 64);
        SIZE extent = {}, w = {};
        {
          CClientDC dc(field);
          CSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
          GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
          GetTextExtentPoint32W(dc, L"0", 1, &w);
        }
        RECT client;
        GetClientRect(field, &client);
        EXPECT_LE(extent.cx, client.right) << "text wider than its field";
        EXPECT_LE(w.cy, client.bottom) << "text taller than its field";
        // The font follows the scale: a digit is at least 11 pixels high at 96 DPI.
        EXPECT_GE(w.cy, MulDiv(11, dpi, 96));
        // The field lies inside the control and clear of the button strip, whose width
        // follows the scale.
        RECT f, c;
        GetWindowRect(field, &f);
        GetClientRect(ctl, &c);
        MapWindowPoints(ctl, nullptr, reinterpret_cast<POINT*>(&c), 2);
        const bool button = t.Style == 0 || t.Style == 2 || t.Style == 4;
        EXPECT_GE(f.top, c.top);
        EXPECT_LE(f.bottom, c.bottom);
        EXPECT_LE(f.right, c.right - (button ? MulDiv(18, dpi, 96) : 0));
        // An open drop-down lies on the work area and is big enough for the whole month.
        if (HWND drop = Form->DropDownOf(*t.Control)) {
          RECT d, need = {};
          GetWindowRect(drop, &d);
          EXPECT_TRUE(d.left >= work.left && d.top >= work.top && d.right <= work.right && d.bottom <= work.bottom);
          SendMessageW(drop, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
          EXPECT_GE(d.right - d.left, need.right - need.left);
          EXPECT_GE(d.bottom - d.top, need.bottom - need.top);
        }
      },
      log);
  EXPECT_EQ(failures, 0) << log;
  // Styles 0, 2, 3 with 21 date formats and 1, 4, 5 with 9 time formats, four states each,
  // and the drop-down (21) and spin button (30) states.
  EXPECT_EQ(tiles, 90 * 4 + 21 + 30);
  EXPECT_EQ(states, (std::set<std::wstring>{L"empty", L"value", L"focused", L"disabled", L"open", L"pressed"}));
}
