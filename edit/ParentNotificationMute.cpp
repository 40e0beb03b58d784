#include "ParentNotificationMute.h"

#include <commctrl.h>

#include <utility>

namespace {

// Mutes live on the stack of the writes that made them, innermost first; a plain pointer,
// so nothing is left to destroy at thread exit, even after the library went.
thread_local ParentNotificationMute* t_innermost = nullptr;

// One subclass per muted parent; its reference data is the edit whose notifications
// are held back.
const UINT_PTR kMuteSubclassId = 1;

LRESULT CALLBACK MuteOwnNotifications(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR muted) {
  if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == reinterpret_cast<HWND>(muted) &&
      (HIWORD(wParam) == EN_UPDATE || HIWORD(wParam) == EN_CHANGE))
    return 0;
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, MuteOwnNotifications, id);
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

ParentNotificationMute::ParentNotificationMute(HWND edit) : m_parent(::GetParent(edit)) {
  // Subclassing works only on the parent's own thread.
  if (!m_parent || ::GetWindowThreadProcessId(m_parent, nullptr) != ::GetCurrentThreadId()) {
    m_parent = nullptr;
    return;
  }
  for (const ParentNotificationMute* m = t_innermost; m; m = m->m_outer)
    if (m->m_parent == m_parent) {
      m_parent = nullptr;
      return;
    }
  if (!::SetWindowSubclass(m_parent, MuteOwnNotifications, kMuteSubclassId, reinterpret_cast<DWORD_PTR>(edit))) {
    m_parent = nullptr;
    return;
  }
  m_outer = std::exchange(t_innermost, this);
}

ParentNotificationMute::~ParentNotificationMute() {
  if (!m_parent) return;
  t_innermost = m_outer;
  if (::IsWindow(m_parent)) ::RemoveWindowSubclass(m_parent, MuteOwnNotifications, kMuteSubclassId);
}
