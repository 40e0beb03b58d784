// Tamvero.dll as the form runtime sees it: loaded at run time, controls made by its
// factory, and the clock pin it offers to hosts (looked up, since older builds lack it).
#pragma once

#include "BaseCtl.h"

#include <string>

class ControlLibrary {
public:
  ControlLibrary() = default;
  ~ControlLibrary();
  ControlLibrary(const ControlLibrary&) = delete;
  ControlLibrary& operator=(const ControlLibrary&) = delete;

  // Loads the library from the program's folder; false with Error set when it or its
  // factory is missing.
  bool Load(const wchar_t* file = L"Tamvero.dll");
  // A new control with one reference, not yet placed anywhere.
  CBaseCtl* Alloc() const;
  bool CanPinClock() const { return m_pinClock != nullptr; }
  // "YYYYMMDDHHMMSS" pins every "today" and "now" of the controls; "" unpins.
  BOOL PinClock(const wchar_t* instant) const { return m_pinClock ? m_pinClock(instant) : FALSE; }
  HMODULE Handle() const { return m_module; }
  std::wstring Error;

private:
  using AllocFn = CBaseCtl* (*)();
  using PinFn = BOOL (*)(const wchar_t*);
  HMODULE m_module = nullptr;
  AllocFn m_alloc = nullptr;
  PinFn m_pinClock = nullptr;
};
