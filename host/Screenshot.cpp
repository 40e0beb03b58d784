#include "Screenshot.h"

#include "fxauto.h"

#include <initguid.h>

#include <wincodec.h>

namespace {

struct Area {
  HWND top;
  RECT rect;
};

BOOL CALLBACK AddPopup(HWND hwnd, LPARAM lParam) {
  Area* area = reinterpret_cast<Area*>(lParam);
  if (hwnd != area->top && IsWindowVisible(hwnd) && GetAncestor(hwnd, GA_ROOTOWNER) == area->top) {
    RECT r;
    GetWindowRect(hwnd, &r);
    UnionRect(&area->rect, &area->rect, &r);
  }
  return TRUE;
}

bool Fail(std::wstring& error, const wchar_t* what, HRESULT hr) {
  wchar_t code[16];
  wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(hr));
  error = std::wstring(what) + L" failed (" + code + L")";
  return false;
}

} // namespace

CBitmap CaptureScreen(const RECT& screen) {
  CBitmap bitmap;
  int w = screen.right - screen.left, h = screen.bottom - screen.top;
  if (w <= 0 || h <= 0) return bitmap;
  CClientDC desktop(nullptr);
  CMemDC mem(desktop);
  if (!bitmap.CreateCompatibleBitmap(desktop, w, h)) return bitmap;
  BOOL copied;
  {
    CSelectObject into(mem, bitmap);
    copied = BitBlt(mem, 0, 0, w, h, desktop, screen.left, screen.top, SRCCOPY);
  }
  if (!copied) bitmap.DeleteObject();
  return bitmap;
}

bool SavePng(HBITMAP bitmap, const std::wstring& path, std::wstring& error) {
  BITMAP info = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return Fail(error, L"reading the bitmap", E_INVALIDARG);
  CComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return Fail(error, L"creating the imaging factory", hr);
  CComPtr<IWICBitmap> source;
  hr = factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source);
  if (FAILED(hr)) return Fail(error, L"reading the capture", hr);
  CComPtr<IWICStream> stream;
  hr = factory->CreateStream(&stream);
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (FAILED(hr)) return Fail(error, (L"opening " + path).c_str(), hr);
  CComPtr<IWICBitmapEncoder> encoder;
  hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
  CComPtr<IWICBitmapFrameEncode> frame;
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, nullptr);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(info.bmWidth), static_cast<UINT>(info.bmHeight));
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr)) hr = frame->WriteSource(source, nullptr);
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  if (FAILED(hr)) return Fail(error, L"encoding the PNG", hr);
  return true;
}

bool SaveScreenshot(HWND top, const std::wstring& path, std::wstring& error) {
  // Paint everything first: the capture reads the screen.
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Area area = {top, {}};
  GetWindowRect(top, &area.rect);
  EnumThreadWindows(GetCurrentThreadId(), AddPopup, reinterpret_cast<LPARAM>(&area));
  if (IsRectEmpty(&area.rect)) return Fail(error, L"measuring the window", E_FAIL);
  CBitmap bitmap = CaptureScreen(area.rect);
  if (!bitmap) return Fail(error, L"copying the screen", HRESULT_FROM_WIN32(GetLastError()));
  return SavePng(bitmap, path, error);
}
