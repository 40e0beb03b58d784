#include "ControlLibrary.h"

ControlLibrary::~ControlLibrary() {
  // The controls' pinned clock must not outlive the host that pinned it.
  if (m_pinClock) m_pinClock(nullptr);
  // The library stays loaded: controls released late may still run its code, and the
  // process ends soon after.
}

bool ControlLibrary::Load(const wchar_t* file) {
  m_module = LoadLibraryW(file);
  if (!m_module) {
    Error = std::wstring(L"cannot load ") + file + L" (error " + std::to_wstring(GetLastError()) + L")";
    return false;
  }
  // Factory and clock are plain C exports; the factory's control is used through its base.
  m_alloc = reinterpret_cast<AllocFn>(reinterpret_cast<void*>(GetProcAddress(m_module, "AllocRunDllControl")));
  m_pinClock = reinterpret_cast<PinFn>(reinterpret_cast<void*>(GetProcAddress(m_module, "TamveroPinClock")));
  if (!m_alloc) {
    Error = std::wstring(file) + L" exports no AllocRunDllControl";
    return false;
  }
  return true;
}

CBaseCtl* ControlLibrary::Alloc() const { return m_alloc ? m_alloc() : nullptr; }
