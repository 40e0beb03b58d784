#include "fxgdi.h"

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  BOOL ok = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return ok;
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
  DeleteObject();
  m_hObject = h;
  return h != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

void CDC::FillSolidRect(const RECT& r, COLORREF c) {
  COLORREF old = ::SetBkColor(m_hDC, c);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, old);
}

void CDC::Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  int w = r.right - r.left, h = r.bottom - r.top;
  FillSolidRect(CRect(r.left, r.top, r.left + w - 1, r.top + 1), topLeft);
  FillSolidRect(CRect(r.left, r.top, r.left + 1, r.top + h - 1), topLeft);
  FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
  FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
}

CPaintDC::CPaintDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
