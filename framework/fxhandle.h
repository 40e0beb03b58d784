// One owner type per kind of handle: the handle belongs to one object from the line it
// is made, is closed exactly once by that object, and can be moved but not copied.
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle; Traits gives its empty value and how it is closed.
template <class Traits> class CUniqueHandle {
public:
  using Handle = typename Traits::Handle;

  CUniqueHandle() = default;
  explicit CUniqueHandle(Handle h) : m_h(h) {}
  ~CUniqueHandle() { Reset(); }
  CUniqueHandle(const CUniqueHandle&) = delete;
  CUniqueHandle& operator=(const CUniqueHandle&) = delete;
  CUniqueHandle(CUniqueHandle&& other) noexcept : m_h(other.Detach()) {}
  CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }

  Handle Get() const { return m_h; }
  explicit operator bool() const { return m_h != Traits::Empty(); }
  // Closes the handle held (if any) and takes h.
  void Reset(Handle h = Traits::Empty()) {
    Handle old = std::exchange(m_h, h);
    if (old != Traits::Empty()) Traits::Close(old);
  }
  Handle Detach() { return std::exchange(m_h, Traits::Empty()); }

private:
  Handle m_h = Traits::Empty();
};

// How a kind of handle is closed, and whether its empty value is null or -1 (the value
// CreateFile and FindFirstFile fail with).
template <class H, auto CloseFn, bool EmptyIsMinusOne = false> struct CHandleTraits {
  using Handle = H;
  static H Empty() { return EmptyIsMinusOne ? reinterpret_cast<H>(static_cast<INT_PTR>(-1)) : H(); }
  static void Close(H h) { CloseFn(h); }
};

inline void ReleasePages(void* p) { ::VirtualFree(p, 0, MEM_RELEASE); }

// A windows hook, removed with the owner.
using CHookHandle = CUniqueHandle<CHandleTraits<HHOOK, ::UnhookWindowsHookEx>>;
// A win event hook (SetWinEventHook), removed with the owner.
using CWinEventHookHandle = CUniqueHandle<CHandleTraits<HWINEVENTHOOK, ::UnhookWinEvent>>;
// A file opened with CreateFile, closed with the owner.
using CFileHandle = CUniqueHandle<CHandleTraits<HANDLE, ::CloseHandle, true>>;
// A FindFirstFile search, closed with the owner.
using CFindHandle = CUniqueHandle<CHandleTraits<HANDLE, ::FindClose, true>>;
// A kernel object whose failure value is null: a pipe end, a process, a thread, an event.
using CKernelHandle = CUniqueHandle<CHandleTraits<HANDLE, ::CloseHandle>>;
// Global memory, freed with the owner unless it was handed on (SetClipboardData takes it).
using CGlobalHandle = CUniqueHandle<CHandleTraits<HGLOBAL, ::GlobalFree>>;
// Local memory a system call handed over (CommandLineToArgvW).
using CLocalHandle = CUniqueHandle<CHandleTraits<HLOCAL, ::LocalFree>>;
// Pages from VirtualAlloc, released with the owner.
using CVirtualMemory = CUniqueHandle<CHandleTraits<void*, ReleasePages>>;

// The clipboard, open for this scope when OpenClipboard succeeded.
class CClipboardScope {
public:
  explicit CClipboardScope(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
  ~CClipboardScope() {
    if (m_open) ::CloseClipboard();
  }
  CClipboardScope(const CClipboardScope&) = delete;
  CClipboardScope& operator=(const CClipboardScope&) = delete;
  explicit operator bool() const { return m_open; }

private:
  bool m_open;
};

// A timer: set through the owner, killed with it (or by Kill). A window's timer whose
// window is gone went with the window; a thread timer (no window) is known by the id
// SetTimer chose.
class CWindowTimer {
public:
  CWindowTimer() = default;
  ~CWindowTimer() { Kill(); }
  CWindowTimer(const CWindowTimer&) = delete;
  CWindowTimer& operator=(const CWindowTimer&) = delete;

  BOOL Set(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc = nullptr) {
    Kill();
    UINT_PTR made = ::SetTimer(hwnd, id, milliseconds, proc);
    if (!made) return FALSE;
    m_hwnd = hwnd;
    m_id = hwnd ? id : made;
    m_set = true;
    return TRUE;
  }
  bool IsSet() const { return m_set; }
  void Kill() {
    if (m_set && (!m_hwnd || ::IsWindow(m_hwnd))) ::KillTimer(m_hwnd, m_id);
    m_set = false;
    m_hwnd = nullptr;
  }

private:
  HWND m_hwnd = nullptr;
  UINT_PTR m_id = 0;
  bool m_set = false;
};
