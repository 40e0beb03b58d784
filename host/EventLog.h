// The event log beside the form: a list box showing what the controls fired and what
// the form did, and the same lines kept as text for transcripts.
#pragma once

#include "fx.h"

#include <string>
#include <vector>

class EventLog {
public:
  // Creates the list box as a child of parent at rect.
  bool Create(HWND parent, const RECT& rect);
  // Appends a line; returns its index, for Amend.
  size_t Add(const std::wstring& line);
  // Replaces line index (an event whose handler has since run).
  void Amend(size_t index, const std::wstring& line);
  const std::vector<std::wstring>& Lines() const { return m_lines; }
  HWND Handle() const { return m_list; }

private:
  HWND m_list = nullptr;
  std::vector<std::wstring> m_lines;
};
