// Real input and screenshots on plain windows of the platform: what the demo's actions
// rely on, independent of the control.
#include "HostFixture.h"

#include "RealInput.h"
#include "Screenshot.h"

#include <wincodec.h>

namespace {

// A top-level window with a plain EDIT, recording what reaches the edit and the window.
struct Probe {
  HWND top = nullptr;
  HWND edit = nullptr;
  static std::vector<std::pair<WPARAM, UINT>> chars; // character and scan code
  static std::vector<POINT> presses;
  static WNDPROC editProc;

  static LRESULT CALLBACK TopProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN) presses.push_back({static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))});
    return DefWindowProcW(h, m, w, l);
  }
  static LRESULT CALLBACK EditProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CHAR) chars.push_back({w, static_cast<UINT>((l >> 16) & 0xFF)});
    return CallWindowProcW(editProc, h, m, w, l);
  }

  Probe() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TopProc;
    wc.lpszClassName = L"TamveroInputProbe";
    wc.hbrBackground = CreateSolidBrush(RGB(0x20, 0x80, 0xC0));
    RegisterClassW(&wc);
    top = CreateWindowExW(0, wc.lpszClassName, L"probe", WS_POPUP | WS_VISIBLE, 100, 100, 320, 200, nullptr, nullptr,
                          nullptr, nullptr);
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, top, nullptr, nullptr,
                           nullptr);
    editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    chars.clear();
    presses.clear();
    realinput::BringToFront(top);
    ::SetFocus(edit);
    realinput::Settle();
  }
  ~Probe() { DestroyWindow(top); }
  std::wstring Text() const {
    wchar_t t[128] = {};
    GetWindowTextW(edit, t, 128);
    return t;
  }
};
std::vector<std::pair<WPARAM, UINT>> Probe::chars;
std::vector<POINT> Probe::presses;
WNDPROC Probe::editProc = nullptr;

} // namespace

TEST(RealInput, TypedCharactersReachTheFocusedEditWithTheirKeys) {
  Probe p;
  const struct {
    const wchar_t* text;
    const wchar_t* shown;
  } cases[] = {{L"20240315", L"20240315"}, {L"-+", L"20240315-+"}, {L"Ab:/", L"20240315-+Ab:/"}};
  for (const auto& k : cases) {
    for (const wchar_t* c = k.text; *c; ++c) ASSERT_TRUE(realinput::TypeChar(*c));
    EXPECT_EQ(p.Text(), k.shown);
  }
  // The main keyboard's minus and plus carry their own scan codes, not the keypad's.
  ASSERT_GE(Probe::chars.size(), 10u);
  EXPECT_EQ(Probe::chars[8], (std::pair<WPARAM, UINT>{L'-', 0x0C}));
  EXPECT_EQ(Probe::chars[9], (std::pair<WPARAM, UINT>{L'+', 0x0D}));
}

TEST(RealInput, NamedKeysArriveAsThoseKeys) {
  Probe p;
  realinput::Key key;
  const struct {
    const wchar_t* name;
    const wchar_t* after;
    WPARAM ch; // the character the key makes, 0 for none
    UINT scan;
  } cases[] = {
      {L"KeypadPlus", L"+", L'+', 0x4E}, {L"KeypadMinus", L"+-", L'-', 0x4A}, {L"Home", L"+-", 0, 0},
      {L"Delete", L"-", 0, 0},           {L"Backspace", L"-", 8, 0x0E},       {L"Right", L"-", 0, 0},
      {L"Backspace", L"", 8, 0x0E},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.name, k.name + wcslen(k.name)));
    Probe::chars.clear();
    ASSERT_TRUE(realinput::KeyByName(k.name, key));
    ASSERT_TRUE(realinput::PressKey(key));
    EXPECT_EQ(p.Text(), k.after);
    if (k.ch) {
      ASSERT_EQ(Probe::chars.size(), 1u);
      EXPECT_EQ(Probe::chars[0], (std::pair<WPARAM, UINT>{k.ch, k.scan}));
    } else {
      EXPECT_TRUE(Probe::chars.empty());
    }
  }
  EXPECT_FALSE(realinput::KeyByName(L"Tab", key));
}

TEST(Screenshot, WritesAPngOfWhatTheWindowShows) {
  Probe p;
  ShowWindow(p.edit, SW_HIDE);
  TempFolder dir;
  std::wstring path = dir.Path + L"\\shot.png", error;
  ASSERT_TRUE(SaveScreenshot(p.top, path, error)) << std::string(error.begin(), error.end());

  CComPtr<IWICImagingFactory> factory;
  ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  CComPtr<IWICBitmapDecoder> decoder;
  ASSERT_EQ(
      factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder),
      S_OK);
  GUID format;
  decoder->GetContainerFormat(&format);
  EXPECT_TRUE(IsEqualGUID(format, GUID_ContainerFormatPng));
  CComPtr<IWICBitmapFrameDecode> frame;
  ASSERT_EQ(decoder->GetFrame(0, &frame), S_OK);
  UINT w = 0, h = 0;
  frame->GetSize(&w, &h);
  EXPECT_EQ(w * 1000 + h, 320200u);
  // The window's own colour, in the middle of the picture.
  CComPtr<IWICFormatConverter> bgr;
  ASSERT_EQ(factory->CreateFormatConverter(&bgr), S_OK);
  ASSERT_EQ(bgr->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                            WICBitmapPaletteTypeCustom),
            S_OK);
  BYTE pixel[3] = {};
  WICRect middle = {160, 100, 1, 1};
  ASSERT_EQ(bgr->CopyPixels(&middle, 3, 3, pixel), S_OK);
  EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), RGB(0x20, 0x80, 0xC0));
}
