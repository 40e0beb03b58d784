// CCalendarEdit: the mask records, the text rebuilt from them, and the edit window's
// key, character, clipboard, focus and colour handling that keeps the text in the mask.
#include "CalendarEdit.h"

#include "CalendarCtl.h"

#include <cwctype>

namespace {

// While the field rewrites its own text, the EDIT class tells the parent EN_UPDATE and
// EN_CHANGE itself. The field sends its own pair instead (EN_CHANGE only when it wants
// one), so the class's pair is held back at the parent window: a filter procedure goes
// on top of the parent's chain for the length of the write. Its state stays in the
// process (window properties would cost a server round trip on every message).
struct ParentFilter {
  HWND Parent;
  WNDPROC Prev;
  HWND Muted; // null while the filter is only passing messages through
};
// Plain data per thread: nothing to destroy at thread exit, even after the library went.
// Writes nest only across parents, so a few slots are plenty; when they are all taken
// the write simply goes unmuted.
const int kMaxFilters = 8;
thread_local ParentFilter t_filters[kMaxFilters];
thread_local int t_filterCount;

ParentFilter* FindFilter(HWND parent) {
  for (int i = 0; i < t_filterCount; ++i)
    if (t_filters[i].Parent == parent) return &t_filters[i];
  return nullptr;
}

void EraseFilter(HWND parent) {
  for (int i = 0; i < t_filterCount; ++i)
    if (t_filters[i].Parent == parent) {
      t_filters[i] = t_filters[--t_filterCount];
      return;
    }
}

LRESULT CALLBACK OwnNotificationFilter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ParentFilter* f = FindFilter(hwnd);
  if (!f) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_COMMAND && f->Muted && reinterpret_cast<HWND>(lParam) == f->Muted &&
      (HIWORD(wParam) == EN_UPDATE || HIWORD(wParam) == EN_CHANGE))
    return 0;
  WNDPROC prev = f->Prev;
  if (msg == WM_NCDESTROY) EraseFilter(hwnd);
  return ::CallWindowProcW(prev, hwnd, msg, wParam, lParam);
}

class ParentNotificationMute {
public:
  explicit ParentNotificationMute(HWND edit) : m_parent(::GetParent(edit)) {
    if (!m_parent || ::GetWindowThreadProcessId(m_parent, nullptr) != ::GetCurrentThreadId()) {
      m_parent = nullptr;
      return;
    }
    ParentFilter* f = FindFilter(m_parent);
    if (f && f->Muted) {
      // A nested write on the same parent: the outer mute stays in charge.
      m_parent = nullptr;
      return;
    }
    if (f) {
      f->Muted = edit;
      return;
    }
    if (t_filterCount == kMaxFilters) {
      m_parent = nullptr;
      return;
    }
    LONG_PTR prev = ::SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnNotificationFilter));
    t_filters[t_filterCount++] = {m_parent, reinterpret_cast<WNDPROC>(prev), edit};
  }
  ~ParentNotificationMute() {
    if (!m_parent) return;
    ParentFilter* f = FindFilter(m_parent);
    if (!f) return;
    f->Muted = nullptr;
    // Unhook only when nobody chained above the filter meanwhile; otherwise it stays as
    // a pass-through until the parent goes.
    if (::IsWindow(m_parent) &&
        ::GetWindowLongPtrW(m_parent, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OwnNotificationFilter)) {
      ::SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(f->Prev));
      EraseFilter(m_parent);
    }
  }
  ParentNotificationMute(const ParentNotificationMute&) = delete;
  ParentNotificationMute& operator=(const ParentNotificationMute&) = delete;

private:
  HWND m_parent;
};

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

// ---- mask model -----------------------------------------------------------------------

void CCalendarEdit::SetMask(LPCWSTR mask) {
  ClearMask();
  for (const wchar_t* c = mask ? mask : L""; *c; ++c) {
    CMaskData* rec = static_cast<CMaskData*>(RUNTIME_CLASS(CMaskData)->CreateObject());
    MaskList.AddTail(rec);
    switch (*c) {
    case L'#':
      rec->Type = DigitEntry;
      rec->Char = PromptChar;
      break;
    case L'A':
      rec->Type = AlphaNumEntry;
      rec->Char = PromptChar;
      break;
    case L'?':
      rec->Type = LetterEntry;
      rec->Char = PromptChar;
      break;
    case L'>':
      rec->Type = UpperLetterEntry;
      rec->Char = PromptChar;
      break;
    case L'<':
      rec->Type = LowerLetterEntry;
      rec->Char = PromptChar;
      break;
    case L'&':
      rec->Type = CharEntry;
      rec->Char = PromptChar;
      break;
    case L'.':
      rec->Type = DecimalSeparator;
      rec->Char = DecimalSep;
      break;
    case L',':
      rec->Type = ThousandsSeparator;
      rec->Char = ThousandsSep;
      break;
    case L':':
      rec->Type = TimeSeparator;
      rec->Char = TimeSep;
      break;
    case L'/':
      rec->Type = DateSeparator;
      rec->Char = DateSep;
      break;
    case L'\\':
      if (c[1]) {
        rec->Type = EscapedLiteral;
        rec->Char = *++c;
        break;
      }
      // A lone backslash at the end: the record stays a Literal showing NUL.
      rec->Type = Literal;
      rec->Char = 0;
      break;
    default:
      rec->Type = Literal;
      rec->Char = *c;
      break;
    }
  }
  RefreshText(0);
}

void CCalendarEdit::ClearMask() {
  if (!MaskList.IsEmpty()) {
    for (POSITION pos = MaskList.GetHeadPosition(); pos;) delete MaskList.GetNext(pos);
    MaskList.RemoveAll();
  } else if (IsWindow()) {
    SetWindowText(L"");
  }
}

CMaskData* CCalendarEdit::RecordAt(int index) const {
  if (index < 0) return nullptr;
  int i = 0;
  for (POSITION pos = MaskList.GetHeadPosition(); pos; ++i) {
    CMaskData* rec = MaskList.GetNext(pos);
    if (i == index) return rec;
  }
  return nullptr;
}

CString CCalendarEdit::GetInputData() const {
  if (MaskList.IsEmpty()) return GetWindowText();
  CString data;
  for (POSITION pos = MaskList.GetHeadPosition(); pos;) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (rec->IsEntry()) data += rec->Char;
  }
  return data;
}

BOOL CCalendarEdit::SetInputData(LPCWSTR text, BOOL raw) {
  CString source(text);
  if (!raw) source.Remove(PromptChar);
  const int length = source.GetLength();
  int at = 0;
  BOOL taken = TRUE;
  for (POSITION pos = MaskList.GetHeadPosition(); pos;) {
    CMaskData* rec = MaskList.GetNext(pos);
    if (!rec->IsEntry()) continue;
    // A position that gets no character from the text is empty, also when the text ran
    // out while unacceptable characters were skipped: no stale character stays behind.
    WCHAR placed = PromptChar;
    while (at < length) {
      WCHAR c = source[at++];
      if (c == PromptChar) break;
      if (rec->IsValidChar(c)) {
        placed = rec->ConvertChar(c);
        break;
      }
      taken = FALSE;
    }
    rec->Char = placed;
  }
  RefreshText(0);
  return taken;
}

int CCalendarEdit::DeleteInputRange(int from, int to) {
  CString kept;
  int inside = 0, i = 0;
  for (POSITION pos = MaskList.GetHeadPosition(); pos; ++i) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (!rec->IsEntry()) continue;
    if (i >= from && i < to)
      ++inside;
    else
      kept += rec->Char;
  }
  // No entry position in the range: leave text, caret and control untouched.
  if (inside > 0) SetInputData(kept, TRUE);
  return inside;
}

int CCalendarEdit::InsertInputChar(int position, WCHAR ch) {
  const CString kept = GetInputData();
  CString shifted;
  int placedAt = -1, i = 0;
  for (POSITION pos = MaskList.GetHeadPosition(); pos; ++i) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (!rec->IsEntry()) continue;
    if (placedAt < 0 && i >= position) {
      shifted += ch;
      placedAt = i;
    }
    shifted += rec->Char;
  }
  if (placedAt < 0) return -1;
  if (!SetInputData(shifted, TRUE)) {
    SetInputData(kept, TRUE);
    return -1;
  }
  return placedAt;
}

int CCalendarEdit::GetNextEntryPos(int position) const {
  int p = position < 0 ? 0 : position;
  const int count = MaskList.GetCount();
  if (p >= count) return p;
  int i = 0;
  for (POSITION pos = MaskList.GetHeadPosition(); pos; ++i) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (i >= p && rec->IsEntry()) return i;
  }
  return count;
}

void CCalendarEdit::RefreshText(int caretPos) {
  if (!IsWindow()) return;
  CString text;
  for (POSITION pos = MaskList.GetHeadPosition(); pos;) text += MaskList.GetNext(pos)->Char;
  // The EDIT class puts the caret at 0 on every text write; without a caret position
  // the selection the user had is put back.
  int selStart = 0, selEnd = 0;
  if (caretPos < 0) GetSel(selStart, selEnd);
  ++SetTextDepth;
  SetWindowText(text);
  --SetTextDepth;
  if (caretPos >= 0)
    MoveCaretToEntry(caretPos);
  else
    SendMessage(EM_SETSEL, static_cast<WPARAM>(selStart), static_cast<LPARAM>(selEnd));
  if (IsControlAlive()) {
    CString data = GetInputData();
    data.TrimRight();
    ::SendMessageW(ParentCtl->m_hWnd, WM_CALENDAR_CAPTION, reinterpret_cast<WPARAM>(data.GetString()), 0);
  }
}

void CCalendarEdit::MoveCaretToEntry(int position) {
  if (!IsWindow()) return;
  // No input position at or after the caret: select everything, so the next key
  // replaces the whole entry.
  const int p = GetNextEntryPos(position);
  if (p >= MaskList.GetCount())
    SendMessage(EM_SETSEL, 0, ::GetWindowTextLengthW(m_hWnd));
  else
    SendMessage(EM_SETSEL, static_cast<WPARAM>(p), static_cast<LPARAM>(p));
  SendMessage(EM_SCROLLCARET, 0, 0);
}

CString CCalendarEdit::StripMaskLiterals(LPCWSTR text) const {
  CString result(text);
  const int length = result.GetLength();
  int removed = 0, runStart = -1, i = 0;
  CString run;
  for (POSITION pos = MaskList.GetHeadPosition(); pos && i < length; ++i) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (!rec->IsEntry()) {
      if (runStart < 0) {
        runStart = i;
        run.Empty();
      }
      run += rec->Char;
    } else if (runStart >= 0) {
      const int at = runStart - removed;
      if (result.Mid(at, run.GetLength()) == run) {
        result.Delete(at, run.GetLength());
        removed += run.GetLength();
      }
      runStart = -1;
    }
  }
  return result;
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
  // Remade at every request: the colour may have changed since the last paint.
  BackBrush.DeleteObject();
  BackBrush.CreateSolidBrush(EditBackColor);
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
  switch (msg) {
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
  if (c == VK_BACK)
    BackspaceAt(start, end);
  else if (start != end)
    TypeOverSelection(c, start, end);
  else
    TypeAtCaret(c, start);

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
    if (IsWindow()) {
      SendMessage(EM_SETSEL, 0, ::GetWindowTextLengthW(m_hWnd));
      SendMessage(EM_SCROLLCARET, 0, 0);
    }
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
  SendMessage(EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
  SendMessage(EM_SCROLLCARET, 0, 0);
}

// ---- text written from outside ------------------------------------------------------------

LRESULT CCalendarEdit::OnSetText(LPCWSTR text) {
  if (MaskList.IsEmpty()) return Default();
  if (SetTextDepth >= 1) {
    LRESULT result;
    {
      ParentNotificationMute mute(m_hWnd);
      result = Default();
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
  SetInputData(GetWindowText(), FALSE);
  RefreshText(-1);
  // The caret waits on the first empty position from the paste point on.
  int caret = -1, i = 0;
  for (POSITION pos = MaskList.GetHeadPosition(); pos && caret < 0; ++i) {
    const CMaskData* rec = MaskList.GetNext(pos);
    if (i >= start && rec->IsEntry() && rec->Char == PromptChar) caret = i;
  }
  if (caret < 0) caret = MaskList.GetCount();
  SendMessage(EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
  SendMessage(EM_SCROLLCARET, 0, 0);
  return 0;
}

// ---- focus and mouse -------------------------------------------------------------------------

void CCalendarEdit::OnSetFocus() {
  Default();
  if (!EditEnabled || !IsWindow()) return;
  SendMessage(EM_SETSEL, 0, ::GetWindowTextLengthW(m_hWnd));
  SendMessage(EM_SCROLLCARET, 0, 0);
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
