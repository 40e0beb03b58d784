#include "Screenshot.h"

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

// Owns a GDI or COM resource for the length of one capture.
template <class T, class Free> struct Owned {
  T value;
  Free free;
  ~Owned() {
    if (value) free(value);
  }
};

bool Fail(std::wstring& error, const wchar_t* what, HRESULT hr) {
  wchar_t code[16];
  wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(hr));
  error = std::wstring(what) + L" failed (" + code + L")";
  return false;
}

} // namespace

bool SaveScreenshot(HWND top, const std::wstring& path, std::wstring& error) {
  // Paint everything first: the capture reads the screen.
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Area area = {top, {}};
  GetWindowRect(top, &area.rect);
  EnumThreadWindows(GetCurrentThreadId(), AddPopup, reinterpret_cast<LPARAM>(&area));
  int w = area.rect.right - area.rect.left, h = area.rect.bottom - area.rect.top;
  if (w <= 0 || h <= 0) return Fail(error, L"measuring the window", E_FAIL);

  HDC screen = GetDC(nullptr);
  Owned<HDC, void (*)(HDC)> mem{CreateCompatibleDC(screen), [](HDC dc) { DeleteDC(dc); }};
  Owned<HBITMAP, void (*)(HBITMAP)> bitmap{CreateCompatibleBitmap(screen, w, h), [](HBITMAP b) { DeleteObject(b); }};
  HGDIOBJ old = SelectObject(mem.value, bitmap.value);
  BOOL copied = BitBlt(mem.value, 0, 0, w, h, screen, area.rect.left, area.rect.top, SRCCOPY);
  SelectObject(mem.value, old);
  ReleaseDC(nullptr, screen);
  if (!copied) return Fail(error, L"copying the screen", HRESULT_FROM_WIN32(GetLastError()));

  auto release = [](IUnknown* p) { p->Release(); };
  IWICImagingFactory* factoryPtr = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factoryPtr));
  Owned<IUnknown*, decltype(+release)> factoryOwner{factoryPtr, +release};
  if (FAILED(hr)) return Fail(error, L"creating the imaging factory", hr);
  IWICBitmap* source = nullptr;
  hr = factoryPtr->CreateBitmapFromHBITMAP(bitmap.value, nullptr, WICBitmapIgnoreAlpha, &source);
  Owned<IUnknown*, decltype(+release)> sourceOwner{source, +release};
  if (FAILED(hr)) return Fail(error, L"reading the capture", hr);
  IWICStream* stream = nullptr;
  hr = factoryPtr->CreateStream(&stream);
  Owned<IUnknown*, decltype(+release)> streamOwner{stream, +release};
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (FAILED(hr)) return Fail(error, (L"opening " + path).c_str(), hr);
  IWICBitmapEncoder* encoder = nullptr;
  hr = factoryPtr->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
  Owned<IUnknown*, decltype(+release)> encoderOwner{encoder, +release};
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
  IWICBitmapFrameEncode* frame = nullptr;
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, nullptr);
  Owned<IUnknown*, decltype(+release)> frameOwner{frame, +release};
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h));
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr)) hr = frame->WriteSource(source, nullptr);
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  if (FAILED(hr)) return Fail(error, L"encoding the PNG", hr);
  return true;
}
