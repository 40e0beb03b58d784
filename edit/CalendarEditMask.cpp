// CCalendarEdit's mask model: one record per mask position, the digits laid into the
// entry positions, and the window text rebuilt from the records.
#include "CalendarEdit.h"

#include "CalendarCtl.h"

#include <algorithm>
#include <utility>

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
  if (HoldText) {
    // Every write costs the EDIT class a repaint request: a field being made shows the
    // last one only.
    TextHeld = TRUE;
    HeldCaret = std::max(caretPos, 0);
  } else {
    WriteText(caretPos);
  }
  if (IsControlAlive()) {
    CString data = GetInputData();
    data.TrimRight();
    ::SendMessageW(ParentCtl->m_hWnd, WM_CALENDAR_CAPTION, reinterpret_cast<WPARAM>(data.GetString()), 0);
  }
}

void CCalendarEdit::WriteText(int caretPos) {
  CString text;
  for (POSITION pos = MaskList.GetHeadPosition(); pos;) text += MaskList.GetNext(pos)->Char;
  // The EDIT class puts the caret at 0 on every text write; without a caret position
  // the selection the user had is put back.
  int selStart = 0, selEnd = 0;
  if (caretPos < 0) ReadSel(selStart, selEnd);
  ++SetTextDepth;
  SetWindowText(text);
  --SetTextDepth;
  if (caretPos >= 0)
    MoveCaretToEntry(caretPos);
  else
    PlaceSel(selStart, selEnd, TRUE);
}

void CCalendarEdit::ShowHeldText() {
  HoldText = FALSE;
  if (std::exchange(TextHeld, FALSE) && IsWindow()) WriteText(HeldCaret);
}

void CCalendarEdit::MoveCaretToEntry(int position) {
  if (!IsWindow()) return;
  // No input position at or after the caret: select everything, so the next key
  // replaces the whole entry.
  const int p = GetNextEntryPos(position);
  if (p >= MaskList.GetCount())
    PlaceSel(0, ::GetWindowTextLengthW(m_hWnd));
  else
    PlaceSel(p, p);
}

void CCalendarEdit::PlaceSel(int start, int end, BOOL noScroll) {
  if (HoldDepth == 0) {
    ApplySel(start, end, noScroll);
    return;
  }
  SelPending = TRUE;
  PendingStart = start;
  PendingEnd = end;
  PendingNoScroll = noScroll;
}

void CCalendarEdit::ReadSel(int& start, int& end) const {
  if (SelPending) {
    start = PendingStart;
    end = PendingEnd;
    return;
  }
  GetSel(start, end);
}

CCalendarEdit::SelectionHold::~SelectionHold() {
  if (--m_edit.HoldDepth > 0 || !m_edit.SelPending) return;
  m_edit.SelPending = FALSE;
  if (m_edit.IsWindow()) m_edit.ApplySel(m_edit.PendingStart, m_edit.PendingEnd, m_edit.PendingNoScroll);
}

void CCalendarEdit::ApplySel(int start, int end, BOOL noScroll) {
  // The replace that wrote the text scrolled its caret into view; asking the EDIT where
  // that caret is would make it measure the whole text again.
  const int scrolled = std::exchange(ScrolledCaret, -1);
  if (start == end && start == scrolled) {
    int from = -1, to = -1;
    GetSel(from, to);
    if (from == start && to == end) return;
  }
  SetSel(start, end, noScroll);
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
