// Thin geometry types over the Win32 structures.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
  CPoint() { x = y = 0; }
  CPoint(int ax, int ay) { x = ax, y = ay; }
  CPoint(POINT p) { x = p.x, y = p.y; }
  explicit CPoint(LPARAM lp) {
    x = static_cast<short>(LOWORD(lp));
    y = static_cast<short>(HIWORD(lp));
  }
};

class CSize : public SIZE {
public:
  CSize() { cx = cy = 0; }
  CSize(int w, int h) { cx = w, cy = h; }
};

class CRect : public RECT {
public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  CRect(const RECT& r) { *static_cast<RECT*>(this) = r; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void DeflateRect(int dx, int dy) { left += dx, top += dy, right -= dx, bottom -= dy; }
  friend bool operator==(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};
