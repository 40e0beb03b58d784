// Pending: the masked field's behaviour.
#include "CalendarEdit.h"

CCalendarEdit::CCalendarEdit() = default;
CCalendarEdit::~CCalendarEdit() { ClearMask(); }
BOOL CCalendarEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CEdit::Create(style, rect, parent, id);
}
void CCalendarEdit::SetMask(LPCWSTR) {}
void CCalendarEdit::ClearMask() {}
CString CCalendarEdit::GetInputData() const { return GetWindowText(); }
BOOL CCalendarEdit::SetInputData(LPCWSTR, BOOL) { return FALSE; }
int CCalendarEdit::DeleteInputRange(int, int) { return 0; }
int CCalendarEdit::InsertInputChar(int, WCHAR) { return -1; }
int CCalendarEdit::GetNextEntryPos(int position) const { return position; }
void CCalendarEdit::RefreshText(int) {}
void CCalendarEdit::MoveCaretToEntry(int) {}
CString CCalendarEdit::StripMaskLiterals(LPCWSTR text) const { return CString(text); }
CMaskData* CCalendarEdit::RecordAt(int) const { return nullptr; }
void CCalendarEdit::SetBackColor(COLORREF color) { EditBackColor = color; }
void CCalendarEdit::SetForeColor(COLORREF color) { TextColor = color; }
void CCalendarEdit::OnInvalidInput() { MessageBeep(MB_ICONEXCLAMATION); }
LRESULT CCalendarEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CEdit::WindowProc(msg, wParam, lParam);
}
BOOL CCalendarEdit::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }
