#include "fxgdi.h"

#include <map>

namespace {

struct Shared {
  HBRUSH brush;
  int holders;
};

// Every window of a process is used from threads that may paint at once.
SRWLOCK g_brushLock = SRWLOCK_INIT;
std::map<COLORREF, Shared>& Brushes() {
  static std::map<COLORREF, Shared>* brushes = new std::map<COLORREF, Shared>; // outlives every holder
  return *brushes;
}

} // namespace

HBRUSH CSharedBrush::Hold(COLORREF c) {
  if (m_brush && m_color == c) return m_brush;
  Release();
  AcquireSRWLockExclusive(&g_brushLock);
  auto it = Brushes().find(c);
  if (it != Brushes().end()) {
    ++it->second.holders;
    m_brush = it->second.brush;
  } else if (HBRUSH made = ::CreateSolidBrush(c)) {
    Brushes()[c] = Shared{made, 1};
    m_brush = made;
  }
  ReleaseSRWLockExclusive(&g_brushLock);
  m_color = c;
  return m_brush;
}

void CSharedBrush::Release() {
  if (!m_brush) return;
  AcquireSRWLockExclusive(&g_brushLock);
  auto it = Brushes().find(m_color);
  if (it != Brushes().end() && --it->second.holders == 0) {
    ::DeleteObject(it->second.brush);
    Brushes().erase(it);
  }
  ReleaseSRWLockExclusive(&g_brushLock);
  m_brush = nullptr;
}

int CSharedBrush::LiveBrushes() {
  AcquireSRWLockShared(&g_brushLock);
  const int n = static_cast<int>(Brushes().size());
  ReleaseSRWLockShared(&g_brushLock);
  return n;
}

int CSharedBrush::Holders(COLORREF c) {
  AcquireSRWLockShared(&g_brushLock);
  auto it = Brushes().find(c);
  const int n = it == Brushes().end() ? 0 : it->second.holders;
  ReleaseSRWLockShared(&g_brushLock);
  return n;
}

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
