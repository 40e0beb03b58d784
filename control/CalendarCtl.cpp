// The control object: construction, the property change handlers, the window-message
// table, window creation and destruction, and the module's exports.
#include "CalendarCtl.h"
#include "Formats.h"

#include "CalendarAccessible.h"
#include "CalendarWnd.h"
#include "Lumadex.h"
#include "Module.h"
#include "Tondril.h"

#include <new>
#include <utility>

// ---- module --------------------------------------------------------------------------

CalendarModule& Module() {
  static CalendarModule module;
  return module;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
  case DLL_PROCESS_ATTACH:
    DisableThreadLibraryCalls(instance);
    Module().Instance = instance;
    Module().GdiMng = GetGDIMng();
    Module().ImageMng = GetImageMng();
    break;
  case DLL_PROCESS_DETACH:
    // At process exit other libraries may already be gone; only a real unload releases.
    if (!reserved) {
      Module().TypeLibs.Clear();
      // Their sweep timer would call into the unloaded library.
      DeleteRetiredCalendars();
    }
    Module().GdiMng = nullptr;
    Module().ImageMng = nullptr;
    break;
  }
  return TRUE;
}

extern "C" TAMVERO_API CCalendarCtl* AllocRunDllControl() { return new (std::nothrow) CCalendarCtl; }

extern "C" TAMVERO_API GUID GetCtrlGUID() { return LIBID_Tamvero; }

// ---- construction and destruction --------------------------------------------------------

CCalendarCtl::CCalendarCtl() {
  CreateDispatch();
  SetInterfaceIds(IID_ICalendarCtl, DIID_ICalendarCtlEvents);
  SetOleMiscStatus(0x20191);
  EnableAutomation();
}

CCalendarCtl::~CCalendarCtl() {
  // Tear the window down while the object is still whole.
  if (m_hWnd) DestroyWindow();
  DeleteCalendarWnd();
  DeleteDispatch();
}

void CCalendarCtl::OnFinalRelease() { CWnd::OnFinalRelease(); }

HRESULT CCalendarCtl::GetTypeLib(LCID lcid, ITypeLib** ppTypeLib) {
  if (!ppTypeLib) return E_POINTER;
  // Locale 0 is answered without a library, as the framework's caller expects.
  if (lcid == 0) return S_OK;
  return Module().TypeLibs.GetTypeLib(Module().Instance, ppTypeLib);
}

HRESULT CCalendarCtl::GetClassID(CLSID* pClsid) {
  if (!pClsid) return E_POINTER;
  *pClsid = CLSID_CalendarCtl;
  return S_OK;
}

// ---- property change handlers --------------------------------------------------------------

void CCalendarCtl::OnTextChanged() {
  // The value is ASCII digits whatever script wrote it: fullwidth and other decimal digits
  // are folded, as a host reading GetValue expects.
  Caption = tamvero::FoldDigits(Caption);
  if (Edit.m_hWnd) Edit.SetWindowText(ReadsNonZero(Caption) ? Caption.GetString() : L"");
}

COLORREF CCalendarCtl::ThemeColor(BOOL back) const {
  int index = back ? (Enabled ? static_cast<int>(BackColorIndex & 0xFFFF) : CColorMgr::CI_DISABLED_BACK)
                   : (Enabled ? static_cast<int>(ForeColorIndex & 0xFFFF) : CColorMgr::CI_DISABLED_TEXT);
  return CColorMgr::getInstance()->GetColor(index, 0);
}

void CCalendarCtl::ResolveColor(BOOL back) {
  if (back) {
    BackColor = ThemeColor(TRUE);
    if (Edit.m_hWnd) Edit.SetBackColor(BackColor);
    Invalidate();
    BoundPropertyChanged(PROP_BackColorIndex);
  } else {
    ForeColor = ThemeColor(FALSE);
    if (Edit.m_hWnd) Edit.SetForeColor(ForeColor);
    Invalidate();
    BoundPropertyChanged(PROP_ForeColorIndex);
  }
}

void CCalendarCtl::OnEnabledChanged() {
  BoundPropertyChanged(IsRunMode() ? DISPID(CHANGE_EnabledRun) : PROP_Enabled);
  if (Edit.m_hWnd) {
    Edit.SetEditEnabled(Enabled);
    // The EDIT class repaints on every EM_SETREADONLY, even one that changes nothing.
    const bool readOnly = (::GetWindowLongW(Edit.m_hWnd, GWL_STYLE) & ES_READONLY) != 0;
    if (readOnly != !Enabled) Edit.SendMessage(EM_SETREADONLY, Enabled ? 0 : 1, 0);
  }
  if (m_hWnd) {
    ResolveColor(TRUE);
    ResolveColor(FALSE);
    Invalidate();
  }
}

void CCalendarCtl::OnAppearanceStyleChanged() {
  if (m_hWnd) Invalidate();
  BoundPropertyChanged(PROP_AppearanceStyle);
}

void CCalendarCtl::ShowOrHideForVisible() {
  if (IsRunMode()) ShowWindow(Visible ? SW_SHOW : SW_HIDE);
  BoundPropertyChanged(IsRunMode() ? DISPID(CHANGE_VisibleRun) : PROP_Visible);
  Invalidate();
}

void CCalendarCtl::OnVisibleChanged() {
  if (m_hWnd) ShowOrHideForVisible();
}

void CCalendarCtl::OnBackColorIndexChanged() {
  if (m_hWnd) ResolveColor(TRUE);
}

void CCalendarCtl::OnForeColorIndexChanged() {
  if (m_hWnd) ResolveColor(FALSE);
}

void CCalendarCtl::OnItemChanged() { BoundPropertyChanged(PROP_Item); }
void CCalendarCtl::OnItemFlagChanged() { BoundPropertyChanged(PROP_ItemFlag); }
void CCalendarCtl::OnAutoSaveChanged() { BoundPropertyChanged(PROP_AutoSave); }
void CCalendarCtl::OnFidChanged() { BoundPropertyChanged(PROP_Fid); }
void CCalendarCtl::OnRequireInputChanged() { BoundPropertyChanged(PROP_RequireInput); }
void CCalendarCtl::OnNextFocusCtrlNameChanged() { BoundPropertyChanged(PROP_NextFocusCtrlName); }
void CCalendarCtl::OnNotCheckDateChanged() { BoundPropertyChanged(PROP_NotCheckDate); }

void CCalendarCtl::OnStartTimeChanged() {
  if (tamvero::IsTimeStyle(Style)) return;
  if (IsRunMode() && CalendarWnd) SetDateRange();
  BoundPropertyChanged(PROP_StartTime);
}

void CCalendarCtl::OnEndTimeChanged() {
  if (tamvero::IsTimeStyle(Style)) return;
  if (IsRunMode() && CalendarWnd) SetDateRange();
  BoundPropertyChanged(PROP_EndTime);
}

void CCalendarCtl::OnBasicClientChanged() {
  tamvero::IsTimeStyle(Style) ? SetInitTime() : SetInitDate();
  BoundPropertyChanged(PROP_BasicClient);
}

void CCalendarCtl::OnVarianceChanged() {
  tamvero::IsTimeStyle(Style) ? SetInitTime() : SetInitDate();
  BoundPropertyChanged(PROP_Variance);
}

void CCalendarCtl::OnIndicatorChanged() {
  tamvero::IsTimeStyle(Style) ? SetInitTime() : SetInitDate();
  BoundPropertyChanged(PROP_Indicator);
}

void CCalendarCtl::OnStyleChanged() {
  if (Edit.m_hWnd) {
    if (tamvero::IsTimeStyle(Style)) {
      if (CalendarWnd) {
        if (CalendarVisible) SendMessage(WM_CALENDAR_HIDE, 0, 0);
        DeleteCalendarWnd();
      }
      OnTimeFormatChanged();
    } else {
      OnDateFormatChanged();
    }
    Invalidate();
    ChangeEditPosition();
    Invalidate();
  }
  BoundPropertyChanged(PROP_Style);
}

void CCalendarCtl::OnFontIndexChanged() {
  FontChange();
  BoundPropertyChanged(PROP_FontIndex);
}

void CCalendarCtl::OnAnchorChanged() {
  BoundPropertyChanged(PROP_Anchor);
  if (IsRunMode())
    AnchorFlag = GetDgnAnchorPropertyData(CString(Anchor), &AnchorValue1, &AnchorValue2, &AnchorValue3, &AnchorValue4);
}

// ---- the window-message table ---------------------------------------------------------------

LRESULT CCalendarCtl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  tamvero::ValueWatch watch(this);
  switch (msg) {
  case WM_GETOBJECT:
    return tamvero::AnswerGetObject(*this, wParam, lParam);
  case WM_DESTROY:
    tamvero::DisconnectAccessible(*this);
    return CBaseCtl::WindowProc(msg, wParam, lParam);
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_CREATE:
    return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
  case WM_SIZE:
    OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_KEYUP:
    OnKeyDown(msg, wParam, lParam);
    return 0;
  case WM_MOUSEMOVE:
    OnMouseMove(static_cast<UINT>(wParam), CPoint(lParam));
    return 0;
  case WM_LBUTTONDOWN:
    OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
    return 0;
  case WM_KILLFOCUS:
    OnKillFocus(reinterpret_cast<HWND>(wParam));
    return 0;
  case WM_SETFOCUS:
    OnSetFocus(reinterpret_cast<HWND>(wParam));
    return 0;
  case WM_LBUTTONUP:
    OnLButtonUp(static_cast<UINT>(wParam), CPoint(lParam));
    return 0;
  case WM_TIMER:
    OnTimer(static_cast<UINT_PTR>(wParam));
    return 0;
  case WM_CALENDAR_EVENT:
    return OnFireCalendarEvent(wParam, lParam);
  case WM_CALENDAR_CAPTION:
    return OnSetCaption(wParam, lParam);
  case WM_CALENDAR_SHOW:
    return OnShowCarendar(wParam, lParam);
  case WM_CALENDAR_HIDE:
    return OnHideCarendar(wParam, lParam);
  case WM_CHANGE_PARENT:
    return OnChangeParent(wParam, lParam);
  case WM_PREV_NEXT_DATE:
    return OnGetPrevORNextDate(static_cast<UINT>(wParam), static_cast<LONG>(lParam));
  case WM_JT_EVENT:
    return OnJTEvent(wParam, lParam);
  case WM_MOUSELEAVE:
    return OnMouseLeave(wParam, lParam);
  case WM_LISTBOX_SHOW:
    return OnControlListBoxShow(wParam, lParam);
  default:
    return CBaseCtl::WindowProc(msg, wParam, lParam);
  }
}

// Keys reach the edit, not the control's own window: default processing only.
void CCalendarCtl::OnKeyDown(UINT, WPARAM, LPARAM) { Default(); }
void CCalendarCtl::OnKillFocus(HWND) { Default(); }

LRESULT CCalendarCtl::OnChangeParent(WPARAM, LPARAM) { return 0; }

// ---- window creation ----------------------------------------------------------------------

int CCalendarCtl::OnCreate(LPCREATESTRUCT) {
  CString login = JTLink_GetLoginInfo(L"CONN_MED");
  if (login == L"G13" || login == L"G17") SuppressSpinEdges = TRUE;

  if (Default() == -1) return -1;

  InCreate = TRUE;
  // The size and font are known now, before the first WM_SIZE: the field is made where it
  // stays, instead of made hidden and then moved.
  const CRect client = GetClientRect();
  ClientWidth = static_cast<short>(client.Width());
  ClientHeight = static_cast<short>(client.Height());
  if (FontManager()) MeasureTextHeight(FieldFont());
  // The field's messages fire the control's events: they keep the control whole.
  Edit.SetLifeOwner(this);
  Edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, FieldRect(), this, 1000);
  Edit.ParentCtl = this;
  Edit.HoldText = TRUE;

  RedrawEnabled = FALSE;
  OnEnabledChanged();
  OnStyleChanged();
  if (!tamvero::IsTimeStyle(Style)) {
    if (IsRunMode() && CalendarWnd) SetDateRange();
    BoundPropertyChanged(PROP_StartTime);
  }
  tamvero::IsTimeStyle(Style) ? SetInitTime() : SetInitDate();
  BoundPropertyChanged(PROP_BasicClient);
  FontChange();
  BoundPropertyChanged(PROP_FontIndex);
  SetDateRange();
  InCreate = FALSE;
  Edit.ShowHeldText();
  ChangeEditPosition(TRUE);
  SetRedraw(TRUE);
  return 0;
}
