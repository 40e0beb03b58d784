// Screenshots of a plain window of the platform, as the demo's session and gallery take them.
#include "HostFixture.h"

#include "RealInput.h"
#include "Screenshot.h"
#include "fxgdi.h"
#include "fxwnd.h"

#include <wincodec.h>

TEST(Screenshot, WritesAPngOfWhatTheWindowShows) {
  static CBrush background(RGB(0x20, 0x80, 0xC0));
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = L"TamveroShotProbe";
  wc.hbrBackground = background;
  RegisterClassW(&wc);
  CWnd top;
  ASSERT_TRUE(
      top.CreateSystem(wc.lpszClassName, 0, L"probe", WS_POPUP | WS_VISIBLE, RECT{100, 100, 420, 300}, nullptr, 0));
  realinput::BringToFront(top);
  realinput::Settle();
  TempFolder dir;
  std::wstring path = dir.Path + L"\\shot.png", error;
  ASSERT_TRUE(SaveScreenshot(top, path, error)) << error;

  CComPtr<IWICImagingFactory> factory;
  ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  CComPtr<IWICBitmapDecoder> decoder;
  ASSERT_EQ(
      factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder),
      S_OK);
  GUID format = {};
  EXPECT_TRUE(SUCCEEDED(decoder->GetContainerFormat(&format)) && IsEqualGUID(format, GUID_ContainerFormatPng));
  CComPtr<IWICBitmapFrameDecode> frame;
  ASSERT_EQ(decoder->GetFrame(0, &frame), S_OK);
  UINT w = 0, h = 0;
  frame->GetSize(&w, &h);
  EXPECT_EQ(w * 1000 + h, 320200u);
  // The window's own colour, in the middle of the picture (its pixels are 24-bit BGR).
  BYTE pixel[3] = {};
  WICRect middle = {160, 100, 1, 1};
  ASSERT_EQ(frame->CopyPixels(&middle, 3, 3, pixel), S_OK);
  EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), RGB(0x20, 0x80, 0xC0));
}
