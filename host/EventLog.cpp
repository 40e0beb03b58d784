#include "EventLog.h"

namespace {

constexpr UINT_PTR kShowTimerId = 1;

std::wstring Shown(const std::wstring& line) {
  if (line.size() <= EventLog::kMaxLineChars) return line;
  return line.substr(0, EventLog::kMaxLineChars) + L"... (" + std::to_wstring(line.size() - EventLog::kMaxLineChars) +
         L" more characters)";
}

} // namespace

EventLog::~EventLog() {
  // The list box may outlive the log by a moment: its timer must not find it.
  m_showTimer.Kill();
  if (m_list && IsWindow(m_list)) SetWindowLongPtrW(m_list, GWLP_USERDATA, 0);
}

bool EventLog::Create(HWND parent, const RECT& rect) {
  m_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  if (m_list) SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return m_list != nullptr;
}

size_t EventLog::Add(const std::wstring& line) {
  if (m_list) ShowLater();
  m_lines.push_back(Shown(line));
  if (m_lines.size() > kMaxLines) {
    m_lines.pop_front();
    ++m_firstNumber;
    if (m_list) SendMessageW(m_list, LB_DELETESTRING, 0, 0);
  }
  if (m_list) SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_lines.back().c_str()));
  return m_firstNumber + m_lines.size() - 1;
}

// A list box redraws its scroll bar on every change: a clerk's burst of events would
// cost more in the log than in the control. Changes go in unseen and are shown once idle.
void EventLog::ShowLater() {
  if (m_showTimer.IsSet()) return;
  SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
  SetWindowLongPtrW(m_list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (!m_showTimer.Set(m_list, kShowTimerId, 0, &EventLog::ShowTimer)) Show();
}

void CALLBACK EventLog::ShowTimer(HWND list, UINT, UINT_PTR, DWORD) {
  if (auto* log = reinterpret_cast<EventLog*>(GetWindowLongPtrW(list, GWLP_USERDATA))) log->Show();
}

void EventLog::Show() {
  if (!m_list) return;
  m_showTimer.Kill();
  SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
  const LRESULT count = SendMessageW(m_list, LB_GETCOUNT, 0, 0);
  if (count > 0) SendMessageW(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
  InvalidateRect(m_list, nullptr, TRUE);
}

void EventLog::Amend(size_t number, const std::wstring& line) {
  if (number < m_firstNumber || number - m_firstNumber >= m_lines.size()) return;
  const size_t index = number - m_firstNumber;
  m_lines[index] = Shown(line);
  if (!m_list || SendMessageW(m_list, LB_GETCOUNT, 0, 0) <= static_cast<LRESULT>(index)) return;
  ShowLater();
  SendMessageW(m_list, LB_DELETESTRING, index, 0);
  SendMessageW(m_list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(m_lines[index].c_str()));
}
