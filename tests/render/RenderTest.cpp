#include "TestHost.h"

#include "Lumadex.h"
#include "Tondril.h"

#include "Gresko.h"

using namespace testhost;

namespace {

const wchar_t kBorder[] = L"DrawCtrlBorder 0,0,140,22 state=0 edges=0 style=3";

std::wstring Button(const wchar_t* rect, int state, int edges) {
  return std::wstring(L"DrawButton ") + rect + L" style=5 state=" + std::to_wstring(state) + L" edges=" +
         std::to_wstring(edges) + L" flags=10000000";
}

std::wstring Image(int id, const wchar_t* rect, int state) {
  return L"DrawImage " + std::to_wstring(id) + L" " + rect + L" state=" + std::to_wstring(state) +
         L" position=0 transform=16";
}

std::wstring Border(int state, int edges) {
  return L"DrawCtrlBorder 0,0,140,22 state=" + std::to_wstring(state) + L" edges=" + std::to_wstring(edges) +
         L" style=3";
}

} // namespace

class Painting : public RenderFixture {};

// One paint of a 140 x 22 control: the calls that reach the theme library, in order.
TEST_F(Painting, DrawsButtonAndBorderForEveryStyleAppearanceStateAndTheme) {
  enum Pose { Idle, Pressed, Hot, UpPressed, DownPressed };
  struct Case {
    int style, appearance, enabled, theme;
    Pose pose;
    const wchar_t* login;
    std::vector<std::wstring> calls;
    CRect button; // after the paint, for the button styles
  };
  const wchar_t* arrow = L"123,-1,141,23";
  const wchar_t* arrowFlat = L"124,-2,142,24";
  const wchar_t* up = L"123,-1,141,11";
  const wchar_t* down = L"123,11,141,23";
  const wchar_t* upFlat = L"124,-2,142,11";
  const wchar_t* downFlat = L"124,11,142,24";
  const CRect inner(123, -1, 141, 23), flat(124, -2, 142, 24), none;
  const Case cases[] = {
      {0, 1, 1, 1, Idle, L"", {Button(arrow, 0, 0), Image(1370, arrow, 0), kBorder}, inner},
      {0, 1, 1, 2, Idle, L"", {Button(arrow, 0, 10), Image(1370, arrow, 0), Border(0, 5)}, inner},
      {0, 0, 1, 1, Idle, L"", {Button(arrowFlat, 0, 0), Image(1370, arrowFlat, 0)}, flat},
      {0, 4, 0, 1, Idle, L"", {Button(arrow, 8, 0), Image(1370, arrow, 8)}, inner},
      {0, 3, 0, 2, Idle, L"", {Button(arrow, 8, 10), Image(1370, arrow, 8), Border(8, 5)}, inner},
      {0, 2, 1, 1, Pressed, L"", {Button(arrow, 1, 0), Image(1370, arrow, 1), kBorder}, inner},
      {0, 2, 1, 1, Hot, L"", {Button(arrow, 2, 0), Image(1370, arrow, 2), kBorder}, inner},
      // A disabled control shows neither the press nor the hover.
      {0, 1, 0, 1, Hot, L"", {Button(arrow, 8, 0), Image(1370, arrow, 8), Border(8, 0)}, inner},
      {2,
       1,
       1,
       1,
       Idle,
       L"",
       {Button(up, 0, 0), Image(2205, up, 0), Button(down, 0, 0), Image(2206, down, 0), kBorder},
       inner},
      {4,
       2,
       1,
       2,
       Idle,
       L"",
       {Button(up, 0, 2), Image(2205, up, 0), Button(down, 0, 8), Image(2206, down, 0), Border(0, 5)},
       inner},
      // The login information of some sites draws the spin halves without the theme's edges.
      {2,
       1,
       1,
       2,
       Idle,
       L"G17",
       {Button(up, 0, 0), Image(2205, up, 0), Button(down, 0, 0), Image(2206, down, 0), Border(0, 5)},
       inner},
      {4,
       0,
       0,
       1,
       Idle,
       L"",
       {Button(upFlat, 8, 0), Image(2205, upFlat, 8), Button(downFlat, 8, 0), Image(2206, downFlat, 8)},
       flat},
      {2,
       4,
       1,
       2,
       UpPressed,
       L"",
       {Button(up, 1, 2), Image(2205, up, 1), Button(down, 0, 8), Image(2206, down, 0)},
       inner},
      {4,
       1,
       1,
       1,
       DownPressed,
       L"",
       {Button(up, 0, 0), Image(2205, up, 0), Button(down, 1, 0), Image(2206, down, 1), kBorder},
       inner},
      // Spin halves have no hover look.
      {2,
       1,
       1,
       1,
       Hot,
       L"",
       {Button(up, 0, 0), Image(2205, up, 0), Button(down, 0, 0), Image(2206, down, 0), kBorder},
       inner},
      {1, 1, 1, 2, Idle, L"", {Border(0, 15)}, none},
      {1, 3, 1, 1, Idle, L"", {kBorder}, none},
      {3, 2, 0, 1, Idle, L"", {Border(8, 0)}, none},
      {3, 1, 0, 2, Idle, L"", {Border(8, 15)}, none},
      {5, 0, 1, 1, Idle, L"", {}, none},
      {5, 4, 0, 2, Idle, L"", {}, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(L"style " + std::to_wstring(c.style) + L" appearance " + std::to_wstring(c.appearance) + L" enabled " +
                 std::to_wstring(c.enabled) + L" theme " + std::to_wstring(c.theme) + L" pose " +
                 std::to_wstring(c.pose) + L" login " + c.login);
    Fresh();
    JTLink_SetLoginInfo(L"CONN_MED", c.login);
    CColorMgr::getInstance()->SetColorTheme(c.theme);
    PutLong(L"Style", c.style);
    PutLong(L"AppearanceStyle", c.appearance);
    PutLong(L"Enabled", c.enabled);
    Create(true, 140, 22);
    Ctl->ButtonPressed = c.pose == Pressed || c.pose == UpPressed || c.pose == DownPressed;
    Ctl->ArrowHot = c.pose == Hot;
    Ctl->SpinUpPressed = c.pose == UpPressed;
    Ctl->SpinDownPressed = c.pose == DownPressed;
    EXPECT_EQ(PaintOnce(), c.calls);
    EXPECT_EQ(RectText(Ctl->ButtonRect), RectText(c.button));
    EXPECT_EQ(Ctl->ButtonWidth, 18);
    EXPECT_EQ(Ctl->ClientWidth, 140);
    EXPECT_EQ(Ctl->ClientHeight, 22);
  }
}

TEST_F(Painting, MissingGlyphsChangeWhatCountsAsTheButton) {
  struct Case {
    int style;
    int missing;
    std::vector<std::wstring> calls;
    CRect button;
    int width;
  } const cases[] = {
      // Without the arrow glyph the whole inner rectangle is the button, and nothing is drawn for it.
      {0, 1370, {kBorder}, CRect(1, 1, 139, 21), 138},
      // Without the spin glyph the button is empty.
      {2, 2205, {kBorder}, CRect(), 0},
      {4, 2205, {kBorder}, CRect(), 0},
      // The arrow's glyph does not matter to the spin button, nor the spin glyph to the arrow.
      {2,
       1370,
       {Button(L"123,-1,141,11", 0, 0), Image(2205, L"123,-1,141,11", 0), Button(L"123,11,141,23", 0, 0),
        Image(2206, L"123,11,141,23", 0), kBorder},
       CRect(123, -1, 141, 23),
       18},
      {0,
       2205,
       {Button(L"123,-1,141,23", 0, 0), Image(1370, L"123,-1,141,23", 0), kBorder},
       CRect(123, -1, 141, 23),
       18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(L"style " + std::to_wstring(c.style) + L" missing " + std::to_wstring(c.missing));
    Fresh();
    TondrilSetImageMissing(c.missing, TRUE);
    PutLong(L"Style", c.style);
    Create(true, 140, 22);
    EXPECT_EQ(PaintOnce(), c.calls);
    EXPECT_EQ(RectText(Ctl->ButtonRect), RectText(c.button));
    EXPECT_EQ(Ctl->ButtonWidth, c.width);
    TondrilSetImageMissing(c.missing, FALSE);
  }
}

TEST_F(Painting, NothingIsDrawnWhileRedrawIsOff) {
  Create();
  ASSERT_FALSE(PaintOnce().empty());
  ASSERT_EQ(Call(L"SetRedraw", {VLong(0)}), S_OK);
  EXPECT_TRUE(PaintOnce().empty());
  ASSERT_EQ(Call(L"SetRedraw", {VLong(1)}), S_OK);
  EXPECT_EQ(PaintOnce().size(), 3u);
}

TEST_F(Painting, BackgroundPixelsShowTheEnabledAndDisabledColours) {
  struct Case {
    int enabled, appearance;
    int colorIndex;
  } const cases[] = {{1, 1, 47}, {0, 1, 118}, {1, 0, 47}, {0, 4, 118}};
  for (const Case& c : cases) {
    SCOPED_TRACE(L"enabled " + std::to_wstring(c.enabled) + L" appearance " + std::to_wstring(c.appearance));
    Fresh();
    PutLong(L"AppearanceStyle", c.appearance);
    PutLong(L"Enabled", c.enabled);
    Create(true, 140, 22);
    PaintOnce();
    COLORREF want = CColorMgr::getInstance()->GetColor(c.colorIndex, 0);
    HDC dc = GetDC(Ctl->m_hWnd);
    // Left of the field, inside the border, and below the field.
    EXPECT_EQ(GetPixel(dc, 2, 10), want);
    EXPECT_EQ(GetPixel(dc, 60, 20), want);
    ReleaseDC(Ctl->m_hWnd, dc);
  }
}

class Layout : public RenderFixture {};

TEST_F(Layout, FieldSitsInsideTheFrameCentredOnTheTextHeight) {
  struct Case {
    int style, width, height, textHeight;
    CRect edit; // left, top, right, bottom in the control
  } const cases[] = {
      {0, 140, 20, 12, CRect(5, 4, 5 + 115, 4 + 12)},
      // 20 is not more than 17 + 4: the field fills the height less two pixels each side.
      {0, 140, 20, 17, CRect(5, 2, 5 + 115, 2 + 16)},
      {2, 140, 20, 16, CRect(5, 2, 5 + 115, 2 + 16)},
      {4, 140, 20, 15, CRect(5, 2, 5 + 115, 2 + 15)},
      {1, 140, 22, 13, CRect(5, 4, 5 + 133, 4 + 13)},
      {3, 100, 30, 0, CRect(5, 2, 5 + 93, 2 + 26)},
      {5, 100, 25, 12, CRect(5, 6, 5 + 93, 6 + 12)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(L"style " + std::to_wstring(c.style) + L" " + std::to_wstring(c.width) + L"x" +
                 std::to_wstring(c.height) + L" text " + std::to_wstring(c.textHeight));
    Fresh();
    PutLong(L"Style", c.style);
    Create(true, c.width, c.height + 10);
    Ctl->TextHeight = c.textHeight;
    // The resize lays the field out again.
    SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Ctl->ClientWidth, c.width);
    EXPECT_EQ(Ctl->ClientHeight, c.height);
    EXPECT_EQ(RectText(EditRectInControl(Ctl)), RectText(c.edit));
    EXPECT_TRUE(IsWindowVisible(Ctl->Edit.m_hWnd));
  }
}

TEST_F(Layout, LayingOutSelectsTheWholeText) {
  Create();
  SetWindowTextW(Ctl->Edit.m_hWnd, L"2024/01/31");
  SendMessageW(Ctl->Edit.m_hWnd, EM_SETSEL, 4, 4);
  Ctl->ChangeEditPosition();
  DWORD start = 0, end = 0;
  SendMessageW(Ctl->Edit.m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 10u);
}

TEST_F(Layout, SecondThemeCutsTheCornersOfTheWindow) {
  CColorMgr::getInstance()->SetColorTheme(2);
  Create(true, 100, 20);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  struct {
    int x, y;
    BOOL inside;
  } const points[] = {
      {0, 0, FALSE},  {99, 0, FALSE}, {0, 19, FALSE}, {99, 19, FALSE}, // every corner pixel is cut
      {1, 1, TRUE},   {98, 1, TRUE},  {50, 0, TRUE},  {50, 19, TRUE},  {0, 10, TRUE},
      {99, 10, TRUE}, {1, 0, TRUE},   {98, 0, TRUE},  {1, 19, TRUE},   {99, 1, TRUE},
  };
  for (const auto& p : points) EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != FALSE, p.inside != FALSE) << p.x << "," << p.y;
  RECT box = {};
  GetRgnBox(rgn, &box);
  EXPECT_EQ(RectText(box), L"0,0,100,20");
  // A resize gives the new size its own outline; the old region goes with the window's.
  SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 60, 30, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  EXPECT_TRUE(PtInRegion(rgn, 58, 20));
  EXPECT_FALSE(PtInRegion(rgn, 59, 0));
  EXPECT_FALSE(PtInRegion(rgn, 70, 10));
  DeleteObject(rgn);
}

TEST_F(Layout, FirstThemeSetsNoRegionButKeepsTheLastOutline) {
  Create(true, 100, 20);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  CColorMgr::getInstance()->SetColorTheme(2);
  SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 103, 20, SWP_NOMOVE | SWP_NOZORDER);
  // Back in the first theme the last outline stays, even at another size.
  CColorMgr::getInstance()->SetColorTheme(1);
  SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 90, 20, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  RECT box = {};
  GetRgnBox(rgn, &box);
  EXPECT_EQ(RectText(box), L"0,0,103,20");
  DeleteObject(rgn);
}

namespace {
int TextHeightOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE s = {};
  GetTextExtentPoint32W(dc, L"W", 1, &s);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return s.cy;
}
} // namespace

TEST_F(Layout, FontComesFromTheFontManagerAndSetsTheTextHeight) {
  Create(true, 140, 40);
  CFontManager* fonts = GetGDIMng();
  ASSERT_NE(fonts, nullptr);
  struct {
    int index;
  } const cases[] = {{2}, {5}, {0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    ASSERT_EQ(PutLong(L"FontIndex", c.index), S_OK);
    HFONT want = *fonts->GetFont(c.index, 1.0f, FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Ctl->Edit.m_hWnd, WM_GETFONT, 0, 0)), want);
    int height = TextHeightOf(want);
    EXPECT_EQ(Ctl->TextHeight, height);
    CRect edit = EditRectInControl(Ctl);
    EXPECT_EQ(edit.Height(), height);
    EXPECT_EQ(edit.top, (40 - height) / 2);
  }
  // An unknown index has no font: the field falls back to the system font.
  ASSERT_EQ(PutLong(L"FontIndex", 99), S_OK);
  EXPECT_EQ(SendMessageW(Ctl->Edit.m_hWnd, WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(Ctl->TextHeight, TextHeightOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
}

TEST_F(Layout, ColourChangeResolvesTheIndexesOnlyInRunMode) {
  struct Case {
    bool runMode;
    int enabled;
    long back, fore;
    int wantBack, wantFore; // colour indexes, -1 for the colour before the change
  } const cases[] = {
      {true, 1, 0x70031, 0x50020, 0x31, 0x20}, // only the low 16 bits count
      {true, 0, 0x31, 0x20, 118, 167},
      {false, 1, 0x31, 0x20, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_wstring(c.runMode) + L" " + std::to_wstring(c.enabled));
    Fresh();
    Create(c.runMode);
    PutLong(L"Enabled", c.enabled);
    COLORREF oldBack = Ctl->BackColor, oldFore = Ctl->ForeColor;
    // Written behind the handlers' back, as a host's colour change finds them.
    Ctl->BackColorIndex = c.back;
    Ctl->ForeColorIndex = c.fore;
    Ctl->ColorChange();
    CColorMgr* colors = CColorMgr::getInstance();
    EXPECT_EQ(Ctl->BackColor, c.wantBack < 0 ? oldBack : colors->GetColor(c.wantBack, 0));
    EXPECT_EQ(Ctl->ForeColor, c.wantFore < 0 ? oldFore : colors->GetColor(c.wantFore, 0));
    EXPECT_EQ(Ctl->Edit.EditBackColor, Ctl->BackColor);
    EXPECT_EQ(Ctl->Edit.TextColor, Ctl->ForeColor);
    // Both windows are due for a repaint.
    EXPECT_TRUE(GetUpdateRect(Ctl->m_hWnd, nullptr, FALSE));
  }
}
