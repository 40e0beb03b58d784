// The generic form protocol: properties by index, methods by identifier, the data
// exchange value, auto-save, resizing and language changes.
#include "CalendarCtl.h"

LONG_PTR CCalendarCtl::GetPropertyLong(int nIndex) {
  switch (nIndex) {
  case 11:
    return Enabled;
  case 12:
    return Visible;
  case 16:
    return AutoSave;
  case 19:
    return ItemFlag;
  case 40:
    // The host reads the object itself through this index.
    return reinterpret_cast<LONG_PTR>(this);
  case 48:
    return AnchorFlag;
  default:
    return 0;
  }
}

long CCalendarCtl::SetPropertyLong(int nIndex, int nNewValue) {
  switch (nIndex) {
  case 11:
    Enabled = nNewValue != 0;
    OnEnabledChanged();
    break;
  case 12:
    Visible = nNewValue != 0;
    if (m_hWnd) {
      if (IsRunMode()) ShowWindow(Visible ? SW_SHOW : SW_HIDE);
      BoundPropertyChanged(IsRunMode() ? DISPID(CHANGE_VisibleRun) : 4);
      Invalidate(TRUE);
    }
    break;
  case 37:
    if (Enabled && Edit.m_hWnd) Edit.SetFocus();
    break;
  case 43:
    FontChange();
    break;
  default:
    break;
  }
  return 1;
}

CString CCalendarCtl::GetPropertyString(int nIndex) { return nIndex == 20 ? Fid : CString(); }

CString CCalendarCtl::GetMethodString(int nId, CString) {
  switch (nId) {
  case 6:
    return GetAutoSaveValue();
  case 7:
    return CString(Caption);
  default:
    return CString();
  }
}

int CCalendarCtl::SetMethodString(int nId, CString, CString str2, LONG_PTR lValue) {
  switch (nId) {
  case 5:
    SetAutoSaveValue(str2);
    break;
  case 8:
    SetValue(lValue);
    break;
  case 9: {
    // Fired directly: the host's answer in the VARIANT does not change the value.
    CVariant leave(0L);
    FireReceiveError(&leave);
    break;
  }
  case 19:
    Caption.Empty();
    if (Edit.m_hWnd) Edit.SetWindowText(L"");
    if (m_hWnd) Invalidate(TRUE);
    break;
  default:
    break;
  }
  return 1;
}

CString CCalendarCtl::GetCommValue(int& nType, CString&, int) {
  nType = 0;
  return ItemFlag == 1 || ItemFlag == 3 ? CString(Caption) : CString();
}

void CCalendarCtl::SetRunFormDispatch(CBaseCtl* pForm, HWND, int, int) { RunForm = pForm; }

void CCalendarCtl::SetResizeControl(float fRateX, float fRateY, int) {
  ScaleX = fRateX;
  ScaleY = fRateY;
  FontChange();
}

void CCalendarCtl::OnLangageModeChange(WORD) {
  if (m_hWnd) Invalidate(TRUE);
}
