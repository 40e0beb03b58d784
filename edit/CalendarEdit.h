// CCalendarEdit: the masked text field inside the control, on the real EDIT class.
// Its content is one CMaskData record per mask position; the window text is always
// rebuilt from the records.
#pragma once

#include "MaskData.h"
#include "TamveroApi.h"
#include "fxgdi.h"
#include "fxwnd.h"

class CCalendarCtl;

class TAMVERO_API CCalendarEdit : public CEdit {
public:
  CCalendarEdit();
  ~CCalendarEdit() override;

  // ---- mask model ----------------------------------------------------------------
  CTypedPtrList<CObList, CMaskData*> MaskList{10};
  BOOL InsertMode = TRUE;
  WCHAR PromptChar = L' ';
  WCHAR DecimalSep = L'.';
  WCHAR ThousandsSep = L',';
  WCHAR TimeSep = L':';
  WCHAR DateSep = L'/';
  int SetTextDepth = 0;
  BOOL NotifyChange = TRUE;
  CSharedBrush BackBrush; // shared with every field of the same colour
  COLORREF TextColor = 0;
  COLORREF EditBackColor = 0x00FFFFFF;
  BOOL FocusNotified = FALSE;
  CCalendarCtl* ParentCtl = nullptr;
  int FullLength = 0;
  BOOL InKillFocus = FALSE;
  BOOL EditEnabled = TRUE;
  BOOL TextHeld = FALSE;
  int HeldCaret = 0;

  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetMask(LPCWSTR mask);
  void ClearMask();
  CString GetInputData() const;
  BOOL SetInputData(LPCWSTR text, BOOL raw);
  int DeleteInputRange(int from, int to);
  int InsertInputChar(int position, WCHAR ch);
  int GetNextEntryPos(int position) const;
  void RefreshText(int caretPos);
  // While held, the mask model changes but the window text is written once, on release.
  BOOL HoldText = FALSE;
  void ShowHeldText();
  void MoveCaretToEntry(int position);
  // The selection, placed now or, while a keystroke is being handled, once at its end.
  void PlaceSel(int start, int end, BOOL noScroll = FALSE);
  void ReadSel(int& start, int& end) const;
  CString StripMaskLiterals(LPCWSTR text) const;
  int RecordCount() const { return MaskList.GetCount(); }
  CMaskData* RecordAt(int index) const;

  void SetBackColor(COLORREF color);
  void SetForeColor(COLORREF color);
  void SetEditEnabled(BOOL enabled) { EditEnabled = enabled; }

  // Feedback for a refused character.
  virtual void OnInvalidInput();
  // Refused characters so far (each one beeped).
  int InvalidInputCount = 0;

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  void OnChar(UINT ch, LPARAM flags);
  void OnKeyDown(UINT vk);
  LRESULT OnSetText(LPCWSTR text);
  bool ReplaceChangedSpan(const CString& shown, LPCWSTR text);
  void WriteText(int caretPos);
  LRESULT OnCut();
  LRESULT OnPaste();
  void OnSetFocus();
  void OnLButtonDown();
  void OnEnSetFocus();
  void OnEnKillFocus();
  HBRUSH CtlColor(HDC dc, UINT ctlColor);

private:
  // A keystroke may rewrite the text twice and place the caret three times; the EDIT
  // class pays a caret move and a repaint for each, so the selection waits until the
  // keystroke is done and is placed once, before any event can look at it.
  class SelectionHold {
  public:
    explicit SelectionHold(CCalendarEdit& edit) : m_edit(edit) { ++m_edit.HoldDepth; }
    ~SelectionHold();
    SelectionHold(const SelectionHold&) = delete;
    SelectionHold& operator=(const SelectionHold&) = delete;

  private:
    CCalendarEdit& m_edit;
  };
  int HoldDepth = 0;
  BOOL SelPending = FALSE;
  int PendingStart = 0, PendingEnd = 0;
  BOOL PendingNoScroll = FALSE;
  // Where the last changed-span replace left the caret, in view; -1 once it is used.
  int ScrolledCaret = -1;
  void ApplySel(int start, int end, BOOL noScroll);

  void BackspaceAt(int start, int end);
  void TypeOverSelection(WCHAR ch, int start, int end);
  void TypeAtCaret(WCHAR ch, int pos);
  void DeleteForward(int start, int end);
  void MoveCaretLeft();
  void SendControlEvent(int code);
  void NotifyParent(UINT code);
  BOOL IsControlAlive() const;
  BOOL IsReadOnly() const;
};
