// Holds back the EDIT class's own EN_UPDATE and EN_CHANGE at the parent window while the
// field rewrites its text; the field sends its own pair instead.
#pragma once

#include <windows.h>

class ParentNotificationMute {
public:
  // Mutes the notifications of edit at its parent for the life of this object; a nested
  // write on a parent that is already muted leaves the outer mute in charge.
  explicit ParentNotificationMute(HWND edit);
  ~ParentNotificationMute();
  ParentNotificationMute(const ParentNotificationMute&) = delete;
  ParentNotificationMute& operator=(const ParentNotificationMute&) = delete;

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_parent;
  HWND m_edit;
  WNDPROC m_next = nullptr; // the parent's procedure while this mute is on
  // The mute that was innermost on this thread before this one (null for the first).
  ParentNotificationMute* m_outer = nullptr;
};
