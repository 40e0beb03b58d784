// CCalendarEdit's window: key, character, clipboard, focus and colour handling that
// keeps the text in the mask.
#include "CalendarEdit.h"

#include "CalendarAccessible.h"
#include "CalendarCtl.h"
#include "Formats.h"
#include "ParentNotificationMute.h"

#include <algorithm>

namespace {

const UINT kKeypadScanPlus = 0x4E;
const UINT kKeypadScanMinus = 0x4A;
const UINT kHostQuery = 0x052C;

} // namespace

CCalendarEdit::CCalendarEdit() = default;

CCalendarEdit::~CCalendarEdit() { ClearMask(); }

BOOL CCalendarEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (!CEdit::Create(style, rect, parent, id)) return FALSE;
  if (!MaskList.IsEmpty()) RefreshText(0);
  return TRUE;
}

// ---- colours and feedback ----------------------------------------------------------------

void CCalendarEdit::SetBackColor(COLORREF color) {
  EditBackColor = color;
  if (IsWindow()) Invalidate(TRUE);
}

void CCalendarEdit::SetForeColor(COLORREF color) {
  TextColor = color;
  if (IsWindow()) Invalidate(TRUE);
}

void CCalendarEdit::OnInvalidInput() {
  ++InvalidInputCount;
  MessageBeep(MB_ICONEXCLAMATION);
}

HBRUSH CCalendarEdit::CtlColor(HDC dc, UINT ctlColor) {
  if (ctlColor != CTLCOLOR_EDIT && ctlColor != CTLCOLOR_STATIC) return nullptr;
  // The colour may have changed since the last paint; the brush follows it.
  BackBrush.Hold(EditBackColor);
  ::SetTextColor(dc, TextColor);
  ::SetBkColor(dc, EditBackColor);
  return BackBrush;
}

// ---- talking to the control and the parent ----------------------------------------------

BOOL CCalendarEdit::IsControlAlive() const { return ParentCtl && ParentCtl->m_hWnd && ::IsWindow(ParentCtl->m_hWnd); }

BOOL CCalendarEdit::IsReadOnly() const { return (::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY) != 0; }

void CCalendarEdit::SendControlEvent(int code) {
  if (IsControlAlive()) ::SendMessageW(ParentCtl->m_hWnd, WM_CALENDAR_EVENT, static_cast<WPARAM>(code), 0);
}

void CCalendarEdit::NotifyParent(UINT code) {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return;
  ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), code), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- message dispatch ----------------------------------------------------------------------

LRESULT CCalendarEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  tamvero::ValueWatch watch(ParentCtl);
  switch (msg) {
  case WM_GETOBJECT:
    // The field is the control to a reader: the same object, not the EDIT's own.
    if (ParentCtl && ParentCtl->m_hWnd && static_cast<LONG>(lParam) == OBJID_CLIENT)
      return ParentCtl->SendMessage(WM_GETOBJECT, wParam, lParam);
    return CEdit::WindowProc(msg, wParam, lParam);
  case WM_KEYDOWN:
    OnKeyDown(static_cast<UINT>(wParam));
    return 0;
  case WM_CHAR:
    OnChar(static_cast<UINT>(wParam), lParam);
    return 0;
  case WM_SETFOCUS:
    OnSetFocus();
    return 0;
  case WM_LBUTTONDOWN:
    OnLButtonDown();
    return 0;
  case WM_RBUTTONDOWN:
    return EditEnabled ? Default() : 0;
  case WM_CREATE:
    return Default() == -1 ? -1 : 0;
  case WM_CUT:
  case WM_CLEAR:
    return OnCut();
  case WM_COPY:
    Default();
    return 0;
  case WM_PASTE:
    return OnPaste();
  case WM_SETTEXT:
    return OnSetText(reinterpret_cast<LPCWSTR>(lParam));
  case kHostQuery:
    return 1;
  default:
    return CEdit::WindowProc(msg, wParam, lParam);
  }
}

BOOL CCalendarEdit::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* pResult) {
  switch (msg) {
  case WM_COMMAND:
    if (HIWORD(wParam) == EN_SETFOCUS) {
      OnEnSetFocus();
      *pResult = 0;
      return TRUE;
    }
    if (HIWORD(wParam) == EN_KILLFOCUS) {
      OnEnKillFocus();
      *pResult = 0;
      return TRUE;
    }
    return FALSE;
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC: {
    HBRUSH brush = CtlColor(reinterpret_cast<HDC>(wParam), msg == WM_CTLCOLOREDIT ? CTLCOLOR_EDIT : CTLCOLOR_STATIC);
    *pResult = reinterpret_cast<LRESULT>(brush);
    return TRUE;
  }
  default:
    return FALSE;
  }
}

// ---- characters ------------------------------------------------------------------------------

void CCalendarEdit::OnChar(UINT ch, LPARAM flags) {
  const UINT scan = static_cast<UINT>((flags >> 16) & 0xFF);
  if (ch == L'+' && scan == kKeypadScanPlus && IsControlAlive()) {
    ParentCtl->SetNextFocus(FALSE);
    return;
  }
  if (ch == L'-' && scan == kKeypadScanMinus && IsControlAlive()) {
    ParentCtl->SetPreFocus();
    return;
  }
  // Digits, full stop, Backspace and the main keyboard's plus and minus only; letters,
  // space and the clipboard shortcuts' control characters never reach the field.
  const bool admitted = (ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L'+' || ch == L'-' || ch == VK_BACK;
  if (!admitted) return;
  if (MaskList.IsEmpty()) {
    Default();
    return;
  }
  if (IsReadOnly()) {
    // A disabled control's field shows its value; it is not edited.
    OnInvalidInput();
    return;
  }

  int start = 0, end = 0;
  GetSel(start, end);
  const WCHAR c = static_cast<WCHAR>(ch);
  {
    SelectionHold hold(*this);
    if (c == VK_BACK)
      BackspaceAt(start, end);
    else if (start != end)
      TypeOverSelection(c, start, end);
    else
      TypeAtCaret(c, start);
  }

  CString data = GetInputData();
  data.Trim();
  SendControlEvent(data.GetLength() == FullLength ? CODE_INPUT_FULL : CODE_TEXT_CHANGED);
}

void CCalendarEdit::BackspaceAt(int start, int end) {
  if (start == end) {
    // The nearest input character left of the caret goes, across any literals.
    for (int at = start - 1; at >= 0; --at) {
      if (DeleteInputRange(at, at + 1) > 0) {
        RefreshText(at);
        return;
      }
    }
    return;
  }
  if (DeleteInputRange(start, end) > 0) {
    RefreshText(start);
    return;
  }
  // Only literals selected: widen by one to the left and slide until input is hit.
  for (int from = start - 1, to = end; from >= 0; --from, --to) {
    if (DeleteInputRange(from, to) > 0) {
      RefreshText(from);
      return;
    }
  }
}

void CCalendarEdit::TypeOverSelection(WCHAR ch, int start, int end) {
  if (DeleteInputRange(start, end) == 0) {
    OnInvalidInput();
    MoveCaretToEntry(start);
    return;
  }
  // The selection is replaced: insert whatever the insert mode says.
  const int placed = InsertInputChar(start, ch);
  if (placed >= 0) {
    RefreshText(placed + 1);
  } else {
    OnInvalidInput();
    RefreshText(start);
  }
}

void CCalendarEdit::TypeAtCaret(WCHAR ch, int pos) {
  CMaskData* rec = RecordAt(pos);
  if (!rec || !rec->IsEntry()) {
    OnInvalidInput();
    MoveCaretToEntry(pos);
    return;
  }
  if (InsertMode) {
    const int placed = InsertInputChar(pos, ch);
    if (placed >= 0) {
      RefreshText(placed + 1);
    } else {
      OnInvalidInput();
      RefreshText(pos);
    }
    return;
  }
  if (ch != PromptChar && !rec->IsValidChar(ch)) {
    OnInvalidInput();
    RefreshText(pos);
    return;
  }
  rec->Char = rec->ConvertChar(ch);
  RefreshText(pos + 1);
}

// ---- keys --------------------------------------------------------------------------------------

void CCalendarEdit::OnKeyDown(UINT vk) {
  if (MaskList.IsEmpty()) {
    Default();
    return;
  }
  const bool shift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  int start = 0, end = 0;
  switch (vk) {
  case VK_DELETE:
    GetSel(start, end);
    if (!IsReadOnly()) DeleteForward(start, start == end ? start + 1 : end);
    SendControlEvent(CODE_TEXT_CHANGED);
    break;
  case VK_HOME:
  case VK_RIGHT:
    Default();
    if (!shift) {
      GetSel(start, end);
      MoveCaretToEntry(start);
    }
    break;
  case VK_LEFT:
    Default();
    if (!shift) MoveCaretLeft();
    break;
  case VK_UP:
  case VK_DOWN:
    // Stepping belongs to the parent window, whatever it is; a disabled control's value
    // is not stepped by keys, as its spin button does not step it either.
    if (!IsReadOnly()) ::SendMessageW(::GetParent(m_hWnd), WM_PREV_NEXT_DATE, 1, vk == VK_UP ? 1 : 0);
    break;
  case VK_INSERT:
    InsertMode = !InsertMode;
    break;
  case VK_F4:
    if (IsControlAlive() && !IsReadOnly()) ::SendMessageW(ParentCtl->m_hWnd, WM_CALENDAR_SHOW, 0, 0);
    break;
  case VK_ESCAPE:
    if (IsControlAlive()) ::SendMessageW(ParentCtl->m_hWnd, WM_CALENDAR_HIDE, 0, 0);
    break;
  case VK_RETURN:
    if (!IsControlAlive()) break;
    if (ParentCtl->IsCalendarVisible())
      ::SendMessageW(ParentCtl->m_hWnd, WM_CALENDAR_HIDE, 0, 0);
    else
      SendControlEvent(CODE_ENTER);
    if (IsWindow()) SetSel(0, ::GetWindowTextLengthW(m_hWnd));
    break;
  default:
    Default();
    break;
  }
}

void CCalendarEdit::DeleteForward(int from, int to) {
  const int count = MaskList.GetCount();
  // Over literals the range slides right to the next input character.
  for (;;) {
    if (DeleteInputRange(from, to) > 0) {
      RefreshText(from);
      return;
    }
    if (to >= count) return;
    ++from;
    ++to;
  }
}

void CCalendarEdit::MoveCaretLeft() {
  int start = 0, end = 0;
  GetSel(start, end);
  int s = start < 0 ? 0 : start;
  int caret = -1;
  const CMaskData* here = RecordAt(s);
  if (here && here->IsEntry()) {
    caret = s;
  } else {
    // Just after the nearest input position on the left, so Left leaves a literal run.
    const int count = MaskList.GetCount();
    for (int j = (s < count ? s : count) - 1; j >= 0 && caret < 0; --j) {
      const CMaskData* rec = RecordAt(j);
      if (rec && rec->IsEntry()) caret = j + 1;
    }
    if (caret < 0) {
      caret = GetNextEntryPos(s + 1);
      if (caret >= count) caret = ::GetWindowTextLengthW(m_hWnd);
    }
  }
  SetSel(caret, caret);
}

// ---- text written from outside ------------------------------------------------------------

// A keystroke changes a few positions of a text whose length the mask fixes: only those
// are replaced, so the EDIT class redraws and places its caret once instead of resetting
// its whole text, selection and scroll.
bool CCalendarEdit::ReplaceChangedSpan(const CString& shown, LPCWSTR text) {
  const int length = shown.GetLength();
  // A field not shown yet is painted whole anyway: one write is the cheaper there.
  if (!text || static_cast<int>(wcslen(text)) != length || !IsWindowVisible()) return false;
  int first = 0, last = length;
  while (first < length && shown[first] == text[first]) ++first;
  while (last > first && shown[last - 1] == text[last - 1]) --last;
  // The caret moves on over literals to the next input position: replacing them too
  // leaves the EDIT's caret where the keystroke puts it.
  last = std::min(GetNextEntryPos(last), length);
  const CString span(text + first, last - first);
  ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
  ::SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(span.GetString()));
  ScrolledCaret = last;
  return true;
}

LRESULT CCalendarEdit::OnSetText(LPCWSTR text) {
  if (MaskList.IsEmpty()) return Default();
  if (SetTextDepth >= 1) {
    LRESULT result = TRUE;
    // A keystroke's second write most often shows the same text; the EDIT class would
    // repaint it and move its caret for nothing.
    const CString shown = GetWindowText();
    if (shown != text) {
      ParentNotificationMute mute(m_hWnd);
      result = ReplaceChangedSpan(shown, text) ? TRUE : Default();
    }
    NotifyParent(EN_UPDATE);
    if (NotifyChange) NotifyParent(EN_CHANGE);
    return result;
  }
  // A value shown from outside, formatted or bare digits: laid into the positions.
  NotifyChange = FALSE;
  SetInputData(StripMaskLiterals(text), TRUE);
  NotifyChange = TRUE;
  return TRUE;
}

// ---- clipboard -------------------------------------------------------------------------------

LRESULT CCalendarEdit::OnCut() {
  if (MaskList.IsEmpty()) return Default();
  int start = 0, end = 0;
  GetSel(start, end);
  Default();
  if (IsReadOnly()) return 0;
  DeleteInputRange(start, end);
  RefreshText(start);
  return 0;
}

LRESULT CCalendarEdit::OnPaste() {
  if (MaskList.IsEmpty()) return Default();
  if (IsReadOnly()) return 0;
  int start = 0, end = 0;
  GetSel(start, end);
  Default();
  // A digit of another script (fullwidth, Arabic-Indic) is taken as its ASCII digit: the
  // value is ASCII digits, as typed ones are.
  SetInputData(tamvero::FoldDigits(GetWindowText()), FALSE);
  RefreshText(-1);
  // The caret waits on the first empty position from the paste point on.
  int caret = -1, i = 0;
  for (POSITION pos = MaskList.GetHeadPosition(); pos && caret < 0; ++i) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (i >= start && rec->IsEntry() && rec->Char == PromptChar) caret = i;
  }
  if (caret < 0) caret = MaskList.GetCount();
  SetSel(caret, caret);
  return 0;
}

// ---- focus and mouse -------------------------------------------------------------------------

void CCalendarEdit::OnSetFocus() {
  Default();
  if (!EditEnabled || !IsWindow()) return;
  SetSel(0, ::GetWindowTextLengthW(m_hWnd));
  if (IsControlAlive()) ParentCtl->InformSetFocus();
}

void CCalendarEdit::OnLButtonDown() {
  if (!EditEnabled) return;
  if (IsControlAlive()) ParentCtl->InformSetFocus();
  // The first click only focuses (and so selects everything); later ones place the caret.
  if (::GetFocus() != m_hWnd) {
    SetFocus();
    return;
  }
  Default();
}

void CCalendarEdit::OnEnSetFocus() {
  if (FocusNotified) return;
  SendControlEvent(CODE_FOCUS_IN);
  FocusNotified = TRUE;
}

void CCalendarEdit::OnEnKillFocus() {
  if (!IsControlAlive()) return;
  ParentCtl->CheckDataFormat();
  if (!IsControlAlive()) return;
  HWND now = ::GetFocus();
  CWnd* calendar = ParentCtl->GetCalendarWndPtr();
  const bool inside = now && (now == m_hWnd || now == ParentCtl->m_hWnd || (calendar && now == calendar->m_hWnd));
  if (inside) return;
  if (!InKillFocus) {
    InKillFocus = TRUE;
    SendControlEvent(CODE_FOCUS_OUT);
    InKillFocus = FALSE;
  }
  FocusNotified = FALSE;
}
