// The generic form protocol: properties by index, methods by identifier, the data
// exchange value, auto-save, resizing and language changes.
#include "CalendarCtl.h"

LONG_PTR CCalendarCtl::GetPropertyLong(int nIndex) {
  switch (nIndex) {
  case FPI_ENABLED:
    return Enabled;
  case FPI_VISIBLE:
    return Visible;
  case FPI_AUTOSAVE:
    return AutoSave;
  case FPI_ITEMFLAG:
    return ItemFlag;
  case FPI_OBJECT:
    // The host reads the object itself through this index.
    return reinterpret_cast<LONG_PTR>(this);
  case FPI_ANCHORFLAG:
    return AnchorFlag;
  default:
    return 0;
  }
}

long CCalendarCtl::SetPropertyLong(int nIndex, int nNewValue) {
  switch (nIndex) {
  case FPI_ENABLED:
    Enabled = nNewValue != 0;
    OnEnabledChanged();
    break;
  case FPI_VISIBLE:
    Visible = nNewValue != 0;
    if (m_hWnd) {
      if (IsRunMode()) ShowWindow(Visible ? SW_SHOW : SW_HIDE);
      BoundPropertyChanged(IsRunMode() ? DISPID(CHANGE_VisibleRun) : PROP_Visible);
      Invalidate(TRUE);
    }
    break;
  case FPI_FOCUS_FIELD:
    if (Enabled && Edit.m_hWnd) Edit.SetFocus();
    break;
  case FPI_FONT:
    FontChange();
    break;
  default:
    break;
  }
  return 1;
}

CString CCalendarCtl::GetPropertyString(int nIndex) { return nIndex == FPI_FID ? Fid : CString(); }

CString CCalendarCtl::GetMethodString(int nId, CString) {
  switch (nId) {
  case FMI_AUTOSAVE_VALUE:
    return GetAutoSaveValue();
  case FMI_VALUE:
    return CString(Caption);
  default:
    return CString();
  }
}

int CCalendarCtl::SetMethodString(int nId, CString, CString str2, LONG_PTR lValue) {
  switch (nId) {
  case FMI_SET_AUTOSAVE_VALUE:
    SetAutoSaveValue(str2);
    break;
  case FMI_SET_VALUE:
    SetValue(lValue);
    break;
  case FMI_RECEIVE_ERROR: {
    // Fired directly: the host's answer in the VARIANT does not change the value.
    CVariant leave(0L);
    FireReceiveError(&leave);
    break;
  }
  case FMI_CLEAR_VALUE:
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
