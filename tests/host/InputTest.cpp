// Real input and screenshots on plain windows of the platform: what the demo's actions
// rely on, independent of the control.
#include "HostFixture.h"

#include "RealInput.h"
#include "Screenshot.h"
#include "fxgdi.h"

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
    static CBrush background(RGB(0x20, 0x80, 0xC0));
    wc.hbrBackground = background;
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

// Each row types characters or presses a named key; then the edit's text and the
// characters that reached it, each with its key's scan code.
TEST(RealInput, TypedCharactersAndNamedKeysReachTheFocusedEditWithTheirKeys) {
  Probe p;
  using Chars = std::vector<std::pair<WPARAM, UINT>>;
  const struct {
    const wchar_t* typed;
    const wchar_t* key;
    const wchar_t* after;
    Chars chars;
  } cases[] = {
      {L"20", nullptr, L"20", {{L'2', 0x03}, {L'0', 0x0B}}},
      // The main keyboard's minus and plus carry their own scan codes, not the keypad's.
      {L"-+", nullptr, L"20-+", {{L'-', 0x0C}, {L'+', 0x0D}}},
      {L"A:/", nullptr, L"20-+A:/", {{L'A', 0x1E}, {L':', 0x27}, {L'/', 0x35}}},
      {nullptr, L"KeypadPlus", L"20-+A:/+", {{L'+', 0x4E}}},
      {nullptr, L"KeypadMinus", L"20-+A:/+-", {{L'-', 0x4A}}},
      {nullptr, L"Home", L"20-+A:/+-", {}},
      {nullptr, L"Delete", L"0-+A:/+-", {}},
      {nullptr, L"Backspace", L"0-+A:/+-", {{8, 0x0E}}},
      {nullptr, L"Right", L"0-+A:/+-", {}},
      {nullptr, L"Backspace", L"-+A:/+-", {{8, 0x0E}}},
  };
  realinput::Key key;
  for (const auto& k : cases) {
    SCOPED_TRACE(k.typed ? k.typed : k.key);
    Probe::chars.clear();
    for (const wchar_t* c = k.typed; c && *c; ++c) ASSERT_TRUE(realinput::TypeChar(*c));
    if (k.key) {
      ASSERT_TRUE(realinput::KeyByName(k.key, key));
      ASSERT_TRUE(realinput::PressKey(key));
    }
    EXPECT_EQ(p.Text(), k.after);
    EXPECT_EQ(Probe::chars, k.chars);
  }
  EXPECT_FALSE(realinput::KeyByName(L"Tab", key));
}

TEST(Screenshot, WritesAPngOfWhatTheWindowShows) {
  Probe p;
  ShowWindow(p.edit, SW_HIDE);
  TempFolder dir;
  std::wstring path = dir.Path + L"\\shot.png", error;
  ASSERT_TRUE(SaveScreenshot(p.top, path, error)) << error;

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
