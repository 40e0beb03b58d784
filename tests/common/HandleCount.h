// Counting this process's GDI objects and this thread's windows, for leak checks.
// GetGuiResources answers 0 under Wine, so the GDI count falls back to the process's
// shared GDI handle table (the PEB's GdiSharedHandleTable, one 24-byte entry per handle
// on 64-bit Windows, with the object type at offset 14 and 0 for a free entry), and the
// USER count falls back to the thread's windows.
#pragma once

#include <windows.h>

#include <winternl.h>

namespace handlecount {

inline DWORD GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
#ifdef _WIN64
  using Query = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info = {};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return 0;
  const BYTE* peb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
  const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
  if (!table) return 0;
  DWORD count = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (table[i * 24 + 14] != 0) ++count;
  return count;
#else
  return 0;
#endif
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<DWORD*>(counter);
  return TRUE;
}

inline BOOL CALLBACK CountTree(HWND hwnd, LPARAM counter) {
  CountWindow(hwnd, counter);
  EnumChildWindows(hwnd, &CountWindow, counter); // every descendant
  return TRUE;
}

// USER objects where the platform counts them, else this thread's windows.
inline DWORD UserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  DWORD count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountTree, reinterpret_cast<LPARAM>(&count));
  return count;
}

} // namespace handlecount
