#include "EventLog.h"

bool EventLog::Create(HWND parent, const RECT& rect) {
  m_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  if (m_list) SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return m_list != nullptr;
}

size_t EventLog::Add(const std::wstring& line) {
  m_lines.push_back(line);
  if (m_list) {
    LRESULT at = SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    // Keep the newest line in view.
    if (at >= 0) SendMessageW(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
  }
  return m_lines.size() - 1;
}

void EventLog::Amend(size_t index, const std::wstring& line) {
  if (index >= m_lines.size()) return;
  m_lines[index] = line;
  if (!m_list || SendMessageW(m_list, LB_GETCOUNT, 0, 0) <= static_cast<LRESULT>(index)) return;
  SendMessageW(m_list, LB_DELETESTRING, index, 0);
  SendMessageW(m_list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(line.c_str()));
}
