#include "Gallery.h"

#include "FormDriver.h"
#include "RealInput.h"
#include "Screenshot.h"

#include <algorithm>
#include <vector>

namespace {

struct Kind {
  int Style;
  bool Time;
  int Formats;
  const wchar_t* Extra; // the style's own state, or null
};
const Kind kKinds[] = {
    {0, false, 21, L"open"}, {2, false, 21, L"pressed"}, {3, false, 21, nullptr},
    {1, true, 9, nullptr},   {4, true, 9, L"pressed"},   {5, true, 9, nullptr},
};

// A full value in the format's value form.
std::wstring FullValue(const Kind& k, int format) {
  if (k.Time) {
    static const wchar_t* const kTimes[] = {L"093015", L"0930", L"3015"};
    if (k.Style == 5 && format < 3) return L"253015"; // past midnight on the 27-hour clock
    return kTimes[format / 3];
  }
  static const wchar_t* const kDates[] = {L"20240315", L"240315", L"202403", L"2403", L"0315", L"2024"};
  return kDates[format / 4];
}

struct Tile {
  CBitmap Bitmap;
  SIZE Size = {}; // what the sheet shows of it, from its top left
};
struct Row {
  std::wstring Label;
  std::vector<Tile> Tiles; // in the sheet's column order; a missing state has no bitmap
};
const wchar_t* const kColumns[] = {L"empty", L"value", L"focused", L"disabled", L"open / pressed"};

void Settle(HWND top) {
  realinput::Settle();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  realinput::Settle();
}

void MakeLabelFont(CFont& font, int dpi) {
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(9, dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  font.CreateFontIndirect(lf);
}

bool WriteSheet(const std::vector<Row>& rows, int dpi, const std::wstring& path, std::wstring& error) {
  const int pad = MulDiv(8, dpi, 96), labelWidth = MulDiv(150, dpi, 96), headHeight = MulDiv(24, dpi, 96);
  const size_t columns = sizeof kColumns / sizeof kColumns[0];
  std::vector<int> widths(columns, MulDiv(60, dpi, 96));
  int height = headHeight;
  for (auto& r : rows) {
    int h = 0;
    for (size_t i = 0; i < r.Tiles.size() && i < columns; ++i) {
      widths[i] = std::max<int>(widths[i], r.Tiles[i].Size.cx);
      h = std::max<int>(h, r.Tiles[i].Size.cy);
    }
    height += h + pad;
  }
  int width = labelWidth + pad;
  for (int w : widths) width += w + pad;

  CBitmap bitmap;
  {
    CClientDC screen(nullptr);
    CMemDC sheet(screen), tile(screen);
    if (!bitmap.CreateCompatibleBitmap(screen, width, height)) return false;
    CSelectObject intoSheet(sheet, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(sheet, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CFont font;
    MakeLabelFont(font, dpi);
    CSelectObject withFont(sheet, font);
    SetBkMode(sheet, TRANSPARENT);
    int x = labelWidth + pad;
    for (size_t i = 0; i < columns; ++i) {
      RECT r = {x, 0, x + widths[i], headHeight};
      DrawTextW(sheet, kColumns[i], -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
      x += widths[i] + pad;
    }
    int y = headHeight;
    for (auto& row : rows) {
      int h = 0;
      for (auto& t : row.Tiles) h = std::max<int>(h, t.Size.cy);
      RECT label = {pad, y, labelWidth, y + MulDiv(24, dpi, 96)};
      DrawTextW(sheet, row.Label.c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
      x = labelWidth + pad;
      for (size_t i = 0; i < row.Tiles.size() && i < columns; ++i) {
        if (row.Tiles[i].Bitmap) {
          CSelectObject from(tile, row.Tiles[i].Bitmap);
          BitBlt(sheet, x, y, row.Tiles[i].Size.cx, row.Tiles[i].Size.cy, tile, 0, 0, SRCCOPY);
        }
        x += widths[i] + pad;
      }
      y += h + pad;
    }
  }
  // Written once the sheet is out of every DC.
  return SavePng(bitmap, path, error);
}

} // namespace

int GalleryDpi() {
  CClientDC screen(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

int RunGallery(DemoForm& form, const std::wstring& outDir, const std::function<void(const GalleryTile&)>& inspect,
               std::wstring& log) {
  const int dpi = GalleryDpi();
  const std::wstring dpiName = std::to_wstring(dpi);
  const std::wstring tileDir = outDir.empty() ? L"" : outDir + L"\\tiles-" + dpiName;
  if (!tileDir.empty()) CreateDirectoryW(tileDir.c_str(), nullptr);
  log += L"gallery at " + dpiName + L" DPI\n";
  // The form places and sizes its controls in logical units scaled to the screen, as a
  // form designer's layout is.
  const int margin = MulDiv(12, dpi, 96);
  const RECT place = {margin, margin, margin + MulDiv(170, dpi, 96), margin + MulDiv(24, dpi, 96)};
  const int border = MulDiv(3, dpi, 96);
  FormDriver driver(form);
  std::vector<Row> rows;
  int failures = 0;
  realinput::BringToFront(form.Window());

  for (const Kind& k : kKinds) {
    for (int f = 0; f < k.Formats; ++f) {
      Row row;
      row.Label =
          L"Style " + std::to_wstring(k.Style) + (k.Time ? L"  TimeFormat " : L"  DateFormat ") + std::to_wstring(f);
      std::vector<const wchar_t*> states = {L"empty", L"value", L"focused", L"disabled"};
      if (k.Extra) states.push_back(k.Extra);
      for (const wchar_t* state : states) {
        std::wstring what = state;
        std::wstring props =
            L"Style=" + std::to_wstring(k.Style) + (k.Time ? L";TimeFormat=" : L";DateFormat=") + std::to_wstring(f);
        if (what == L"disabled") props += L";Enabled=0";
        std::wstring error, name = L"g";
        form.RemoveAll();
        FormControl* c = form.Create(name, place, props, {}, error);
        bool done = c != nullptr;
        RECT shown = {};
        POINT pressAt = {};
        if (done) {
          // Set once the window exists: a value among the stored properties gives way to
          // the initial value the control computes when its window is made.
          GetWindowRect(c->Hwnd(), &shown);
          if (FAILED(DemoForm::PutProperty(c->Dispatch(), L"Caption", what == L"empty" ? L"" : FullValue(k, f)))) {
            done = false;
            error = L"the value was refused";
          } else {
            if (what == L"focused") {
              done = driver.Click(name, L"field");
            } else if (what == L"open") {
              done = driver.Key(name, L"F4");
            } else if (what == L"pressed") {
              // The upper half of the button strip at the control's right edge.
              pressAt = {shown.right - (shown.bottom - shown.top) / 2, shown.top + (shown.bottom - shown.top) / 4};
              done = realinput::PressAt(pressAt, true);
            }
            if (!done) error = driver.Error;
          }
          Settle(form.Window());
          InflateRect(&shown, border, border);
          if (HWND drop = form.DropDownOf(*c)) {
            RECT r;
            GetWindowRect(drop, &r);
            InflateRect(&r, border, border);
            UnionRect(&shown, &shown, &r);
          } else if (what == L"open") {
            done = false;
            error = L"no drop-down shown";
          }
        }
        Tile tile;
        if (done) {
          if (inspect) inspect({k.Style, f, state, c, shown});
          if (!outDir.empty()) tile.Bitmap = CaptureScreen(shown);
          tile.Size = {shown.right - shown.left, shown.bottom - shown.top};
          // The month looks the same whatever the format: the sheet shows it once, and
          // for the other formats the control with its drop-down button down.
          if (what == L"open" && f > 0) {
            RECT own;
            GetWindowRect(c->Hwnd(), &own);
            tile.Size.cy = own.bottom - shown.top + border;
          }
        }
        if (what == L"pressed") {
          realinput::PressAt(pressAt, false);
          realinput::Settle();
        } else if (what == L"open" && c) {
          driver.Key(name, L"Escape");
        }
        std::wstring file = L"style" + std::to_wstring(k.Style) + (k.Time ? L"-time" : L"-date") + std::to_wstring(f) +
                            L"-" + what + L".png";
        if (!done) {
          log += L"  " + file + L" not made: " + error + L"\n";
          ++failures;
        } else if (tile.Bitmap && !SavePng(tile.Bitmap, tileDir + L"\\" + file, error)) {
          log += L"  " + file + L" not written: " + error + L"\n";
          ++failures;
        }
        row.Tiles.push_back(std::move(tile));
      }
      rows.push_back(std::move(row));
    }
  }
  form.RemoveAll();
  if (!outDir.empty()) {
    std::wstring error, sheet = outDir + L"\\sheet-" + dpiName + L".png";
    if (WriteSheet(rows, dpi, sheet, error)) {
      log += L"contact sheet " + sheet + L"\n";
    } else {
      log += L"contact sheet not written: " + error + L"\n";
      ++failures;
    }
  }
  log += L"tiles not made: " + std::to_wstring(failures) + L"\n";
  return failures;
}
