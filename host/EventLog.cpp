#include "EventLog.h"

namespace {

std::wstring Shown(const std::wstring& line) {
  if (line.size() <= EventLog::kMaxLineChars) return line;
  return line.substr(0, EventLog::kMaxLineChars) + L"... (" + std::to_wstring(line.size() - EventLog::kMaxLineChars) +
         L" more characters)";
}

} // namespace

bool EventLog::Create(HWND parent, const RECT& rect) {
  m_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  if (m_list) SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return m_list != nullptr;
}

size_t EventLog::Add(const std::wstring& line) {
  m_lines.push_back(Shown(line));
  if (m_lines.size() > kMaxLines) {
    m_lines.pop_front();
    ++m_firstNumber;
    if (m_list) SendMessageW(m_list, LB_DELETESTRING, 0, 0);
  }
  if (m_list) {
    LRESULT at = SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_lines.back().c_str()));
    // Keep the newest line in view.
    if (at >= 0) SendMessageW(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
  }
  return m_firstNumber + m_lines.size() - 1;
}

void EventLog::Amend(size_t number, const std::wstring& line) {
  if (number < m_firstNumber || number - m_firstNumber >= m_lines.size()) return;
  const size_t index = number - m_firstNumber;
  m_lines[index] = Shown(line);
  if (!m_list || SendMessageW(m_list, LB_GETCOUNT, 0, 0) <= static_cast<LRESULT>(index)) return;
  SendMessageW(m_list, LB_DELETESTRING, index, 0);
  SendMessageW(m_list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(m_lines[index].c_str()));
}
