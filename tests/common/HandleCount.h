// Counting this process's GDI objects and this thread's windows, for leak checks.
// GetGuiResources answers 0 under Wine, so the GDI count falls back to the process's
// shared GDI handle table, one 24-byte entry per handle with the object type at offset
// 14 and 0 for a free entry. Wine keeps one 64-bit table for both kinds of process: a
// 64-bit process finds it in its PEB (offset 0xF8); a 32-bit one reaches it the way
// Wine's own gdi32 does, through the 64-bit TEB whose address the 32-bit TEB holds in
// GdiBatchCount (offset 0xF70), then that TEB's PEB (0x60) and the same 0xF8. The USER
// count falls back to the thread's windows.
#pragma once

#include <windows.h>

#include <winternl.h>

namespace handlecount {

// The shared GDI handle table, or null where this process has none we can read.
// (GCC takes the segment-relative read of NtCurrentTeb for an access to address 0.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
inline const BYTE* GdiHandleTable() {
#ifdef _WIN64
  const BYTE* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  return *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
#else
  const BYTE* teb32 = reinterpret_cast<const BYTE*>(NtCurrentTeb());
  const ULONG teb64 = *reinterpret_cast<const ULONG*>(teb32 + 0xF70);
  if (!teb64) return nullptr; // not under Wine's 64-bit kernel side
  const ULONGLONG peb64 = *reinterpret_cast<const ULONGLONG*>(static_cast<ULONG_PTR>(teb64) + 0x60);
  if (!peb64 || peb64 > 0xFFFFFFFFull) return nullptr;
  const ULONGLONG table = *reinterpret_cast<const ULONGLONG*>(static_cast<ULONG_PTR>(peb64) + 0xF8);
  if (table > 0xFFFFFFFFull) return nullptr; // out of this process's reach
  return reinterpret_cast<const BYTE*>(static_cast<ULONG_PTR>(table));
#endif
}
#pragma GCC diagnostic pop

inline DWORD GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  const BYTE* table = GdiHandleTable();
  if (!table) return 0;
  DWORD count = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (table[i * 24 + 14] != 0) ++count;
  return count;
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

// Committed private memory of the process, region by region (Wine answers 0 for the
// process counters' PrivateUsage).
inline SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION mbi;
  for (const BYTE* at = nullptr; VirtualQuery(at, &mbi, sizeof mbi) == sizeof mbi;) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    const BYTE* next = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

} // namespace handlecount
