// GDI owners: every handle belongs to one object from the line it is created.
#pragma once

#include "fx.h"

class FX_API CGdiObject {
public:
  CGdiObject() = default;
  ~CGdiObject() { DeleteObject(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  // Moving hands the object on: exactly one owner deletes it.
  CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  HGDIOBJ m_hObject = nullptr;
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  BOOL DeleteObject();
  BOOL Attach(HGDIOBJ h);
  HGDIOBJ Detach();
};

class FX_API CBrush : public CGdiObject {
public:
  CBrush() = default;
  explicit CBrush(COLORREF c) { CreateSolidBrush(c); }
  BOOL CreateSolidBrush(COLORREF c) { return Attach(::CreateSolidBrush(c)); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

// A solid brush shared by every holder of the same colour in the process: the first
// holder of a colour makes the handle, the last one to let go deletes it, so a form of
// a hundred white fields holds one white brush.
class FX_API CSharedBrush {
public:
  CSharedBrush() = default;
  ~CSharedBrush() { Release(); }
  CSharedBrush(const CSharedBrush&) = delete;
  CSharedBrush& operator=(const CSharedBrush&) = delete;
  // Holds a brush of the colour (keeping the one held when the colour is the same);
  // null when the platform refuses to make one.
  HBRUSH Hold(COLORREF c);
  void Release();
  HBRUSH GetSafeHandle() const { return m_brush; }
  operator HBRUSH() const { return m_brush; }
  // Brushes alive in the process and holders of one colour, for leak checks.
  static int LiveBrushes();
  static int Holders(COLORREF c);

private:
  HBRUSH m_brush = nullptr;
  COLORREF m_color = 0;
};

class FX_API CPen : public CGdiObject {
public:
  CPen(int style, int width, COLORREF c) { Attach(::CreatePen(style, width, c)); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class FX_API CFont : public CGdiObject {
public:
  BOOL CreateFontIndirect(const LOGFONTW& lf) { return Attach(::CreateFontIndirectW(&lf)); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class FX_API CBitmap : public CGdiObject {
public:
  BOOL CreateCompatibleBitmap(HDC dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc, width, height));
  }
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class FX_API CRgn : public CGdiObject {
public:
  BOOL CreatePolygonRgn(const POINT* points, int count, int mode) {
    return Attach(::CreatePolygonRgn(points, count, mode));
  }
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

// A device context that the caller does not own (the base of the owning kinds below).
class FX_API CDC {
public:
  CDC() = default;
  explicit CDC(HDC h) : m_hDC(h) {}
  virtual ~CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
  void FillSolidRect(const RECT& r, COLORREF c);
  void Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight);
  BOOL RectVisible(const RECT& r) const { return ::RectVisible(m_hDC, &r); }
};

class FX_API CPaintDC : public CDC {
public:
  explicit CPaintDC(HWND hwnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps = {};

private:
  HWND m_hWnd;
};

class FX_API CClientDC : public CDC {
public:
  explicit CClientDC(HWND hwnd) : CDC(::GetDC(hwnd)), m_hWnd(hwnd) {}
  ~CClientDC() override {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  }

private:
  HWND m_hWnd;
};

// The whole window's context, frame included (GetWindowDC).
class FX_API CWindowDC : public CDC {
public:
  explicit CWindowDC(HWND hwnd) : CDC(::GetWindowDC(hwnd)), m_hWnd(hwnd) {}
  ~CWindowDC() override {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  }

private:
  HWND m_hWnd;
};

// A memory context for drawing off screen (the caller selects a bitmap into it).
class FX_API CMemDC : public CDC {
public:
  explicit CMemDC(HDC compatible) : CDC(::CreateCompatibleDC(compatible)) {}
  ~CMemDC() override {
    if (m_hDC) ::DeleteDC(m_hDC);
  }
};

// Restores the object it replaced when it goes out of scope.
class CSelectObject {
public:
  CSelectObject(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
  ~CSelectObject() {
    if (m_old) ::SelectObject(m_dc, m_old);
  }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

private:
  HDC m_dc;
  HGDIOBJ m_old;
};
