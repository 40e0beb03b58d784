// CCalendarCtl: the date and time input control. A masked edit child holds what the
// user types; the control turns it into its value, checks and clamps it, computes
// dates, steps the value, drops a month calendar down, paints its frame and button,
// and reports to the form through events and the form protocol.
#pragma once

#include "BaseCtl.h"
#include "TamveroApi.h"
#include "Tamvero_h.h"
#include "fxgdi.h"
#include "fxhandle.h"

#include "CalendarEdit.h"

class CCalendarWnd;

// Custom messages of the control's window.
enum : UINT {
  WM_CALENDAR_EVENT = 0x0465,   // a child reports an event code 0 to 6
  WM_CALENDAR_CAPTION = 0x0466, // the edit reports its input digits
  WM_CALENDAR_SHOW = 0x0467,    // open the drop-down
  WM_CALENDAR_HIDE = 0x0468,    // close the drop-down
  WM_CHANGE_PARENT = 0x05C2,    // the host re-parents the control; nothing to do
  WM_PREV_NEXT_DATE = 0x2728,   // step the value one unit
};

// Codes of WM_CALENDAR_EVENT: what the field or the drop-down reports.
enum CalendarEventCode : int {
  CODE_INPUT_FULL = 0,
  CODE_ENTER = 1,
  CODE_FOCUS_IN = 2,
  CODE_FOCUS_OUT = 3,
  CODE_SEL_CHANGED = 4,
  CODE_DAY_PICKED = 5,
  CODE_TEXT_CHANGED = 6,
};

// Codes of FireEventBrokeOut, the event dispatcher (numbered apart from the above).
enum BrokeOutCode : int {
  BROKE_EditChange = 1,
  BROKE_EditFull = 2,
  BROKE_EditEnter = 3,
  BROKE_KillFocus = 4,
  BROKE_SetFocus = 6,
  BROKE_SelChange = 27,
  BROKE_SelSelected = 28,
};

class TAMVERO_API CCalendarCtl : public CBaseCtl {
public:
  CCalendarCtl();
  ~CCalendarCtl() override;

  // ---- properties (dispids 1-22, 36) ----------------------------------------------
  CString Caption;
  BOOL Enabled = 1;
  short AppearanceStyle = 1;
  BOOL Visible = 1;
  long BackColorIndex = 47;
  long ForeColorIndex = 48;
  static constexpr short kDefaultDateFormat = 2;
  static constexpr short kDefaultTimeFormat = 0;
  short DateFormat = kDefaultDateFormat;
  CString Item;
  short ItemFlag = 1;
  CString StartTime = L"19700101";
  CString EndTime = L"99991231";
  short BasicClient = 0;
  short Variance = 0;
  short Indicator = 0;
  short Style = 0;
  short TimeFormat = kDefaultTimeFormat;
  BOOL AutoSave = 0;
  short FontIndex = 2;
  CString Fid;
  BOOL RequireInput = 0;
  CString NextFocusCtrlName;
  BOOL NotCheckDate = 0;
  CString Anchor;

  // ---- other members -----------------------------------------------------------
  CCalendarEdit Edit;
  CString LastValidValue;
  BOOL SuppressSpinEdges = 0;
  CCalendarWnd* CalendarWnd = nullptr;
  float ScaleX = 1.0f;
  float ScaleY = 1.0f;
  short ClientHeight = 0;
  short ClientWidth = 0;
  COLORREF BackColor = 0xFFFFFF;
  COLORREF ForeColor = 0x000000;
  BOOL RedrawEnabled = 1;
  // Pixels of a length given at 96 DPI on this screen: the button strip follows the
  // screen's scale as the field's font does.
  static int ScreenScaled(int px);
  int ButtonWidth = ScreenScaled(18);
  CRect ButtonRect;
  BOOL CalendarVisible = 0;
  int TextHeight = 12;
  HFONT MeasuredFont = nullptr; // the font TextHeight was measured with
  int DigitCount = 8;
  int MinYear = 1970;
  int MaxYear = 9999;
  BOOL ButtonPressed = 0;
  BOOL PointerInButton = 0;
  BOOL SpinUpPressed = 0;
  BOOL SpinDownPressed = 0;
  BOOL RepeatStarted = 0;
  // The spin button's auto-repeat: the delay before it starts, then the repeat itself.
  CWindowTimer RepeatDelayTimer;
  CWindowTimer RepeatTimer;
  BOOL ArrowHot = 0;
  BOOL LeaveTracking = 0;
  BOOL CalendarSelChanged = 0;
  BOOL EventsEnabled = 1;
  // What screen readers were given: the object answering them, the value last announced,
  // and how deep the control is in messages that may change the value.
  IUnknown* Accessible = nullptr;
  CString AnnouncedValue;
  int AccessibleDepth = 0;

  // ---- property change handlers -------------------------------------------------
  void OnTextChanged();
  void OnEnabledChanged();
  void OnAppearanceStyleChanged();
  void OnVisibleChanged();
  void OnBackColorIndexChanged();
  void OnForeColorIndexChanged();
  void OnDateFormatChanged();
  void OnItemChanged();
  void OnItemFlagChanged();
  void OnStartTimeChanged();
  void OnEndTimeChanged();
  void OnBasicClientChanged();
  void OnVarianceChanged();
  void OnIndicatorChanged();
  void OnStyleChanged();
  void OnTimeFormatChanged();
  void OnAutoSaveChanged();
  void OnFontIndexChanged();
  void OnFidChanged();
  void OnRequireInputChanged();
  void OnNextFocusCtrlNameChanged();
  void OnNotCheckDateChanged();
  void OnAnchorChanged();

  // ---- automation methods (dispids 23-35) ----------------------------------------
  BSTR GetItem();
  BSTR GetComputedDate(short nBasic, short nVariance, short nIndicator);
  void MSetFocus();
  void SetRedraw(BOOL bAllowDraw);
  short SetValue(LONG_PTR lpValue);
  BSTR GetComputedTime(short nBasic, short nVariance, short nIndicator);
  BSTR GetValue();
  void SetCaptionCtrl(LPCWSTR lpszValue);
  // Fails the automation call with E_FAIL or E_INVALIDARG for an unusable base of a
  // day or week computation; result then stays untouched.
  HRESULT GetBaseComputedDate(LPCWSTR strBaseDate, short nBasic, short nVariance, short nIndicator, BSTR* result);
  BSTR MGetCaptionCtrl();
  void MSetCaptionCtrlEx(LPCWSTR lpszValue, BOOL bEvent);
  BOOL CheckCaption();
  BOOL GetCurDate(VARIANT* nYear, VARIANT* nMonth, VARIANT* nDay);

  // ---- formats and values -----------------------------------------------------------
  int GetDateStyle() const { return Style; }
  CString GetExceptDateFormatString(LPCWSTR text);
  void CheckDataFormat();
  CString GetValueEx() const { return Caption; }
  void DisplayDate(int& year, int& month, int& day);
  void DisplayTime(int& hour, int& minute, int& second);
  void SetInitDate();
  void SetInitTime();
  CString GetAutoSaveValue();
  void SetAutoSaveValue(LPCWSTR lpszValue);
  BOOL GetCurInputDate(int& year, int& month, int& day);
  BOOL GetCurInputTime(int& hour, int& minute, int& second);
  BOOL DateCheck(const int& year, const int& month, const int& day);
  BOOL TimeCheck(const int& hour, const int& minute, const int& second);
  BOOL SetDateRange();
  BOOL IsInputDigit(const wchar_t* text, short count);
  CString GetComputedDateEx(short nBasic, short nVariance, short nIndicator);
  CString GetComputedTimeEx(short nBasic, short nVariance, short nIndicator);
  CString GetComputedMonth(int& nYear, int& nMonth, short bNext);
  int GetPrevNextComputedTime(short nBasic, short nVariance, short nIndicator, int& nValue);

  // ---- caption path, events and focus ---------------------------------------------
  void SetCaptionCtrlInEx(LPCWSTR lpszValue);
  void FireEventBrokeOut(int nCode);
  void FireEditFull();
  void FireEditEnter();
  void FireSetFocus();
  void FireKillFocus();
  void FireSelChange();
  void FireSelSelected();
  void FireEditChange();
  void FireReceiveError(VARIANT* nVarLeave);
  void SetNextFocus(BOOL bIgnoreName);
  void SetPreFocus();
  BOOL GetBPossibleChangeFocus();
  void InformSetFocus();

  // ---- drop-down calendar -------------------------------------------------------------
  BOOL GetCurSelectedDate(int& year, int& month, int& day);
  void SendToMainIsShowList(BOOL bShow);
  void SetCalendarSelchange(BOOL bChanged) { CalendarSelChanged = bChanged; }
  // While the window is being created it is not shown yet: laying out the field there is
  // a round trip to the window manager for nothing. The layout is done once at the end.
  // (Invalidations of the hidden window are skipped by CWnd itself.)
  BOOL InCreate = FALSE;
  BOOL IsCalendarVisible() const { return CalendarVisible; }
  CWnd* GetCalendarWndPtr() const;
  void SetDateToCalendarWnd();

  // ---- layout and painting -------------------------------------------------------
  void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid) override;
  // Lays the field out (a move, if it is not in place, selects its text from the start;
  // selectAll does that even when it is).
  void ChangeEditPosition(BOOL selectAll = FALSE);
  CRect FieldRect() const;
  HFONT FieldFont();
  void MeasureTextHeight(HFONT font);
  void FontChange();
  void ColorChange() override;
  void DrawBoarder(CDC* pDC, CRect& rect);
  CRect DrawArrowButton(CDC* pDC, CRect& rect);
  CRect DrawSpinButton(CDC* pDC, CRect& rect);
  void DrawAppearanceStyle(CDC* pDC, const CRect& rcBounds);
  BOOL CheckInSpinUpRect(POINT point);

  // ---- the form protocol (control side) ----------------------------------------------
  void Serialize(CArchive& ar) override;
  LONG_PTR GetPropertyLong(int nIndex) override;
  long SetPropertyLong(int nIndex, int nNewValue) override;
  CString GetPropertyString(int nIndex) override;
  CString GetMethodString(int nId, CString strArg) override;
  int SetMethodString(int nId, CString str1, CString str2, LONG_PTR lValue) override;
  CString GetCommValue(int& nType, CString& strName, int nFlag) override;
  BOOL IsAutoSave() override { return AutoSave; }
  void SetRunFormDispatch(CBaseCtl* pForm, HWND hWnd, int n1, int n2) override;
  void SetResizeControl(float fRateX, float fRateY, int n) override;
  void OnLangageModeChange(WORD wMode) override;
  void SetPreProprtySaveNotify() override {}
  void OnFinalRelease() override;

  // ---- automation plumbing -------------------------------------------------------
  IDispatch* GetPrimaryDispatch() override;
  UINT GetTypeInfoCount() override { return 1; }
  HRESULT GetTypeLib(LCID lcid, ITypeLib** ppTypeLib) override;
  HRESULT GetClassID(CLSID* pClsid) override;

  // ---- window messages -----------------------------------------------------------
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnPaint();
  void OnSize(UINT nType, int cx, int cy);
  void OnKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonDown(UINT nFlags, CPoint point) override;
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnKillFocus(HWND hNewWnd);
  void OnSetFocus(HWND hOldWnd);
  void OnTimer(UINT_PTR nIDEvent);
  LRESULT OnFireCalendarEvent(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCaption(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowCarendar(WPARAM wParam, LPARAM lParam);
  LRESULT OnHideCarendar(WPARAM wParam, LPARAM lParam);
  LRESULT OnChangeParent(WPARAM wParam, LPARAM lParam);
  LONG OnGetPrevORNextDate(UINT wParam, LONG lParam);
  LRESULT OnJTEvent(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlListBoxShow(WPARAM wParam, LPARAM lParam);

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  // The dual interface ICalendarCtl over this control.
  class XCalendarCtl;
  XCalendarCtl* m_xCalendarCtl = nullptr;
  void CreateDispatch();
  void DeleteDispatch();

  void CreateCalendarWnd();
  // Every close of the drop-down ends here: hidden, no longer the open one, the button
  // repainted. Telling the form and taking the focus back are the callers' part.
  void HideCalendarWnd();
  void DeleteCalendarWnd();
  // The background (back) or text colour of the theme: the indexes' colours while
  // enabled, the disabled ones otherwise.
  COLORREF ThemeColor(BOOL back) const;
  void ResolveColor(BOOL back);
  void ShowOrHideForVisible();
  void OfferThenFire(DISPID id);
  // The caption path's corrections: the clamp's bound in the field's own value form, and
  // the write of a correction into the field, during which the field's report is taken
  // as it stands.
  CString BoundInValueForm(const CString& bound);
  void WriteCorrection(const CString& text);
  void MirrorOwnText(LPCWSTR text);
  BOOL m_correcting = FALSE;
};

// Exports for hosts: the factory and the type library identifier.
extern "C" TAMVERO_API CCalendarCtl* AllocRunDllControl();
// Returned by value: the caller provides the 16 bytes and gets their address back.
extern "C" TAMVERO_API GUID GetCtrlGUID();
