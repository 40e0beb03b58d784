#include "ParentNotificationMute.h"

#include <map>
#include <utility>

namespace {

// Mutes live on the stack of the writes that made them, innermost first; a plain pointer,
// so nothing is left to destroy at thread exit, even after the library went.
thread_local ParentNotificationMute* t_innermost = nullptr;

// Parents that someone subclassed again while a mute was on: the mute's procedure stays in
// their chain, passing everything on, until the parent goes. Never freed, as it may be
// consulted until the last such window is destroyed.
SRWLOCK g_orphanLock = SRWLOCK_INIT;
std::map<HWND, WNDPROC>& Orphans() {
  static std::map<HWND, WNDPROC>* orphans = new std::map<HWND, WNDPROC>;
  return *orphans;
}

WNDPROC OrphanNext(HWND hwnd, bool forget) {
  AcquireSRWLockExclusive(&g_orphanLock);
  auto it = Orphans().find(hwnd);
  WNDPROC next = it == Orphans().end() ? nullptr : it->second;
  if (forget && it != Orphans().end()) Orphans().erase(it);
  ReleaseSRWLockExclusive(&g_orphanLock);
  return next;
}

} // namespace

LRESULT CALLBACK ParentNotificationMute::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (const ParentNotificationMute* m = t_innermost; m; m = m->m_outer) {
    if (m->m_parent != hwnd) continue;
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == m->m_edit &&
        (HIWORD(wParam) == EN_UPDATE || HIWORD(wParam) == EN_CHANGE))
      return 0;
    return ::CallWindowProcW(m->m_next, hwnd, msg, wParam, lParam);
  }
  if (WNDPROC next = OrphanNext(hwnd, msg == WM_NCDESTROY)) return ::CallWindowProcW(next, hwnd, msg, wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

ParentNotificationMute::ParentNotificationMute(HWND edit) : m_parent(::GetParent(edit)), m_edit(edit) {
  // Replacing a window procedure works only on the parent's own thread.
  if (!m_parent || ::GetWindowThreadProcessId(m_parent, nullptr) != ::GetCurrentThreadId() ||
      OrphanNext(m_parent, false)) {
    m_parent = nullptr;
    return;
  }
  for (const ParentNotificationMute* m = t_innermost; m; m = m->m_outer)
    if (m->m_parent == m_parent) {
      m_parent = nullptr;
      return;
    }
  // The procedure is swapped in front of the parent's chain for the write alone: unlike a
  // comctl32 subclass, which keeps its list in a window property, this costs no round
  // trip to the window manager.
  m_next = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentNotificationMute::Proc)));
  if (!m_next) {
    m_parent = nullptr;
    return;
  }
  m_outer = std::exchange(t_innermost, this);
}

ParentNotificationMute::~ParentNotificationMute() {
  if (!m_parent) return;
  t_innermost = m_outer;
  if (!::IsWindow(m_parent)) return;
  if (::GetWindowLongPtrW(m_parent, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ParentNotificationMute::Proc)) {
    ::SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_next));
    return;
  }
  // Someone subclassed the parent during the write and calls this procedure next.
  AcquireSRWLockExclusive(&g_orphanLock);
  Orphans()[m_parent] = m_next;
  ReleaseSRWLockExclusive(&g_orphanLock);
}
