#include "TestHost.h"

#include "Lumadex.h"
#include "Tondril.h"
#include "fxgdi.h"

#include "Gresko.h"

using namespace testhost;

namespace {

using Calls = std::vector<std::wstring>;

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

// The arrow: its button and glyph, inner or flat.
Calls Arrow(int state, int edges, bool flat = false) {
  const wchar_t* r = flat ? L"124,-2,142,24" : L"123,-1,141,23";
  return {Button(r, state, edges), Image(1370, r, state)};
}

// The spin halves: each a button and its glyph.
Calls Spin(int up, int upEdges, int down, int downEdges, bool flat = false) {
  const wchar_t* u = flat ? L"124,-2,142,11" : L"123,-1,141,11";
  const wchar_t* d = flat ? L"124,11,142,24" : L"123,11,141,23";
  return {Button(u, up, upEdges), Image(2205, u, up), Button(d, down, downEdges), Image(2206, d, down)};
}

Calls operator+(Calls a, const std::wstring& b) {
  a.push_back(b);
  return a;
}

} // namespace

class Painting : public RenderFixture {};

// One paint of a 140 x 22 control: the calls that reach the theme library, in order, and
// what counts as the button afterwards.
TEST_F(Painting, DrawsButtonAndBorderForEveryStyleAppearanceStateAndTheme) {
  enum Pose { Idle, Pressed, Hot, UpPressed, DownPressed };
  struct Case {
    int style, appearance, enabled, theme;
    Pose pose;
    const wchar_t* login;
    Calls calls;
    CRect button;    // after the paint, for the button styles
    int missing = 0; // a glyph the theme library lacks
  };
  const std::wstring plain = Border(0, 0);
  const CRect inner(123, -1, 141, 23), flat(124, -2, 142, 24), none;
  const Case cases[] = {
      {0, 1, 1, 1, Idle, L"", Arrow(0, 0) + plain, inner},
      {0, 1, 1, 2, Idle, L"", Arrow(0, 10) + Border(0, 5), inner},
      {0, 0, 1, 1, Idle, L"", Arrow(0, 0, true), flat},
      {0, 4, 0, 1, Idle, L"", Arrow(8, 0), inner},
      {0, 2, 1, 1, Pressed, L"", Arrow(1, 0) + plain, inner},
      {0, 2, 1, 1, Hot, L"", Arrow(2, 0) + plain, inner},
      // A disabled control shows neither the press nor the hover.
      {0, 1, 0, 1, Hot, L"", Arrow(8, 0) + Border(8, 0), inner},
      {2, 1, 1, 1, Idle, L"", Spin(0, 0, 0, 0) + plain, inner},
      {4, 2, 1, 2, Idle, L"", Spin(0, 2, 0, 8) + Border(0, 5), inner},
      // The login information of some sites draws the spin halves without the theme's edges.
      {2, 1, 1, 2, Idle, L"G17", Spin(0, 0, 0, 0) + Border(0, 5), inner},
      {4, 0, 0, 1, Idle, L"", Spin(8, 0, 8, 0, true), flat},
      {2, 4, 1, 2, UpPressed, L"", Spin(1, 2, 0, 8), inner},
      {4, 1, 1, 1, DownPressed, L"", Spin(0, 0, 1, 0) + plain, inner},
      // Spin halves have no hover look.
      {2, 1, 1, 1, Hot, L"", Spin(0, 0, 0, 0) + plain, inner},
      {1, 1, 1, 2, Idle, L"", {Border(0, 15)}, none},
      {1, 3, 1, 1, Idle, L"", {plain}, none},
      {3, 1, 0, 2, Idle, L"", {Border(8, 15)}, none},
      {5, 0, 1, 1, Idle, L"", {}, none},
      // Without the arrow glyph the whole inner rectangle is the button, and nothing is drawn for it.
      {0, 1, 1, 1, Idle, L"", {plain}, CRect(1, 1, 139, 21), 1370},
      // Without the spin glyph the button is empty.
      {2, 1, 1, 1, Idle, L"", {plain}, CRect(), 2205},
      // The arrow's glyph does not matter to the spin button, nor the spin glyph to the arrow.
      {2, 1, 1, 1, Idle, L"", Spin(0, 0, 0, 0) + plain, inner, 1370},
      {0, 1, 1, 1, Idle, L"", Arrow(0, 0) + plain, inner, 2205},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " appearance " << c.appearance << " enabled " << c.enabled
                                    << " theme " << c.theme << " pose " << c.pose << " login " << c.login << " missing "
                                    << c.missing);
    Fresh();
    if (c.missing) TondrilSetImageMissing(c.missing, TRUE);
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
    const int width = c.missing ? c.button.Width() : 18; // styles without a button keep the arrow's width
    EXPECT_EQ(Ctl->ButtonWidth * 10000 + Ctl->ClientWidth * 100 + Ctl->ClientHeight, width * 10000 + 140 * 100 + 22);
    if (c.missing) TondrilSetImageMissing(c.missing, FALSE);
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
    SCOPED_TRACE(testing::Message() << "style " << c.style << " " << c.width << "x" << c.height << " text "
                                    << c.textHeight);
    Fresh();
    PutLong(L"Style", c.style);
    Create(true, c.width, c.height + 10);
    Ctl->TextHeight = c.textHeight;
    Ctl->Edit.SetSel(1, 1);
    // The resize lays the field out again, and selects its whole text.
    SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Ctl->ClientWidth * 100 + Ctl->ClientHeight, c.width * 100 + c.height);
    EXPECT_EQ(RectText(EditRectInControl(Ctl)), RectText(c.edit));
    EXPECT_TRUE(IsWindowVisible(Ctl->Edit.m_hWnd));
    EXPECT_EQ(SelOf(Ctl->Edit), std::make_pair(0, GetWindowTextLengthW(Ctl->Edit.m_hWnd)));
  }
}

// The second theme cuts the corners of the window; the first sets no region of its own
// but keeps the last outline.
TEST_F(Layout, SecondThemeCutsTheCornersOfTheWindowAndTheFirstKeepsThem) {
  Create(true, 100, 21);
  CRgn rgn;
  rgn.Attach(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  CColorMgr::getInstance()->SetColorTheme(2);
  SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 100, 20, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  struct {
    int x, y;
    BOOL inside;
  } const points[] = {
      {0, 0, FALSE}, {99, 0, FALSE}, {0, 19, FALSE}, {99, 19, FALSE}, // every corner pixel is cut
      {1, 1, TRUE},  {50, 0, TRUE},  {0, 10, TRUE},  {98, 0, TRUE},   {99, 1, TRUE},
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
  // Back in the first theme the last outline stays, even at another size.
  CColorMgr::getInstance()->SetColorTheme(1);
  SetWindowPos(Ctl->m_hWnd, nullptr, 0, 0, 90, 20, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(GetWindowRgn(Ctl->m_hWnd, rgn), ERROR);
  GetRgnBox(rgn, &box);
  EXPECT_EQ(RectText(box), L"0,0,60,30");
}

namespace {
int TextHeightOf(HFONT font) {
  CClientDC dc(nullptr);
  CSelectObject selected(dc, font);
  SIZE s = {};
  GetTextExtentPoint32W(dc, L"W", 1, &s);
  return s.cy;
}
} // namespace

TEST_F(Layout, FontComesFromTheFontManagerAndSetsTheTextHeight) {
  Create(true, 140, 40);
  CFontManager* fonts = GetGDIMng();
  ASSERT_NE(fonts, nullptr);
  for (int index : {2, 5, 0}) {
    SCOPED_TRACE(index);
    ASSERT_EQ(PutLong(L"FontIndex", index), S_OK);
    HFONT want = *fonts->GetFont(index, 1.0f, FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Ctl->Edit.m_hWnd, WM_GETFONT, 0, 0)), want);
    EXPECT_EQ(Ctl->TextHeight, TextHeightOf(want)); // the field is laid out on it (see above)
  }
  // An unknown index has no font: the field falls back to the system font.
  ASSERT_EQ(PutLong(L"FontIndex", 99), S_OK);
  EXPECT_EQ(SendMessageW(Ctl->Edit.m_hWnd, WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(Ctl->TextHeight, TextHeightOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
}

// A host without fonts: the font manager is missing when the library loads, here a copy of
// it loaded after taking the fonts away. The field gets no font and the text height stays
// twelve; the drop-down opens without a font as well.
TEST_F(Layout, WithoutAFontManagerTheFieldHasNoFont) {
  wchar_t path[MAX_PATH] = {}, temp[MAX_PATH] = {};
  GetModuleFileNameW(GetModuleHandleW(L"Tamvero.dll"), path, MAX_PATH);
  GetTempPathW(MAX_PATH, temp);
  const std::wstring copy = temp + (L"TamveroNoFont" + std::to_wstring(GetCurrentProcessId())) + L".dll";
  ASSERT_TRUE(CopyFileW(path, copy.c_str(), FALSE));
  GreskoSetNullFontManager(TRUE);
  HMODULE library = LoadLibraryW(copy.c_str());
  GreskoSetNullFontManager(FALSE);
  ASSERT_NE(library, nullptr);
  Ctl->ExternalRelease();
  Ctl = reinterpret_cast<CCalendarCtl* (*)()>(reinterpret_cast<void*>(GetProcAddress(library, "AllocRunDllControl")))();
  Create(true, 140, 22);
  auto font = [&] { return std::make_pair(Ctl->TextHeight, SendMessageW(Ctl->Edit.m_hWnd, WM_GETFONT, 0, 0)); };
  EXPECT_EQ(font(), std::make_pair(12, LRESULT(0))) << "nobody gave the field a font";
  ASSERT_EQ(PutLong(L"FontIndex", 5), S_OK);
  EXPECT_EQ(font(), std::make_pair(12, LRESULT(0)));
  EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_CALENDAR_SHOW, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_CALENDAR_HIDE, 0, 0), 1);
  Ctl->ExternalRelease(); // before its library goes
  Ctl = nullptr;
  FreeLibrary(library);
  DeleteFileW(copy.c_str());
}

// The colours paint the background left of the field, inside the border, and below it.
TEST_F(Layout, ColourChangeResolvesTheIndexesOnlyInRunModeAndPaintsTheBackground) {
  struct Case {
    bool runMode;
    int enabled, appearance;
    long back, fore;
    int wantBack, wantFore; // colour indexes, -1 for the colour before the change
  } const cases[] = {
      {true, 1, 0, 0x70031, 0x50020, 0x31, 0x20}, // only the low 16 bits count
      {true, 0, 4, 0x31, 0x20, 118, 167},
      {false, 1, 1, 0x31, 0x20, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_wstring(c.runMode) + L" " + std::to_wstring(c.enabled));
    Fresh();
    PutLong(L"AppearanceStyle", c.appearance);
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
    PaintOnce();
    CClientDC dc(Ctl->m_hWnd);
    EXPECT_EQ(GetPixel(dc, 2, 10), Ctl->BackColor);
    EXPECT_EQ(GetPixel(dc, 60, 20), Ctl->BackColor);
  }
}
