// The event log beside the form: a list box showing what the controls fired and what
// the form did, and the same lines kept as text for transcripts. Bounded however long
// the clerk works: the newest lines only, each cut to a length with a mark.
#pragma once

#include "fx.h"
#include "fxhandle.h"

#include <deque>
#include <string>

class EventLog {
public:
  EventLog() = default;
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  static constexpr size_t kMaxLines = 1000;
  static constexpr size_t kMaxLineChars = 300;

  // Creates the list box as a child of parent at rect.
  bool Create(HWND parent, const RECT& rect);
  // Appends a line, dropping the oldest past kMaxLines; returns its number, for Amend.
  size_t Add(const std::wstring& line);
  // Replaces line number `number` (an event whose handler has since run) while it is kept.
  void Amend(size_t number, const std::wstring& line);
  const std::deque<std::wstring>& Lines() const { return m_lines; }
  // Brings the list box's view to the newest line and repaints it. Done by itself once
  // the message loop is idle; a caller that looks at the list box at once calls it.
  void Show();
  HWND Handle() const { return m_list; }

private:
  static void CALLBACK ShowTimer(HWND list, UINT, UINT_PTR, DWORD);
  void ShowLater();

  HWND m_list = nullptr;
  CWindowTimer m_showTimer; // set while changes wait unseen
  std::deque<std::wstring> m_lines;
  size_t m_firstNumber = 0; // the number of m_lines.front()
};
