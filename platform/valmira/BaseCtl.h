// CBaseCtl: the base of every control of the form runtime and of the form itself.
// It gives the control its COM identity (reference count, IDispatch through the dual
// interface of the control's type library, connection points for events and property
// notifications), the run-mode flag, the hosting form, the bit-information word, the
// anchor record, and the generic form protocol of virtual operations.
#pragma once

#ifdef VALMIRA_BUILD
#define VALMIRA_API __declspec(dllexport)
#else
#define VALMIRA_API __declspec(dllimport)
#endif

#include "fxarchive.h"
#include "fxauto.h"
#include "fxcoll.h"
#include "fxwnd.h"

struct _TREEITEM;

// ---- the numbers of the form protocol, shared by every control and form ----------------
// Property indexes of GetPropertyLong, SetPropertyLong and GetPropertyString.
enum FormPropertyIndex : int {
  FPI_ENABLED = 11,
  FPI_VISIBLE = 12,
  FPI_AUTOSAVE = 16,
  FPI_ITEMFLAG = 19,
  FPI_FID = 20,
  FPI_FOCUS_FIELD = 37,    // control: give the field the focus
  FPI_MAY_MOVE_FOCUS = 38, // form: non-zero when a move to the next or previous control is allowed
  FPI_OBJECT = 40,         // control: the object itself
  FPI_FONT = 43,           // control: re-create the font
  FPI_ANCHORFLAG = 48,
};
// Method ids of GetMethodString and SetMethodString.
enum FormMethodId : int {
  FMI_SET_AUTOSAVE_VALUE = 5,
  FMI_AUTOSAVE_VALUE = 6,
  FMI_VALUE = 7,
  FMI_SET_VALUE = 8,
  FMI_RECEIVE_ERROR = 9,
  FMI_CLEAR_VALUE = 19,
};
// Modes of SetPreNextFocusToForm.
enum FormFocusMode : int { FOCUS_PREVIOUS = 0, FOCUS_NEXT = 1, FOCUS_NAMED = 3 };
// Bits of a form's bit-information word that its controls read.
enum : DWORD { FORM_TAKES_EVENTS = 0x20000000, FORM_BLOCKS_FOCUS = 0x40000000 };
// Codes of BoundPropertyChanged besides dispatch ids: Enabled and Visible in run mode.
enum : DISPID { CHANGE_EnabledRun = 10000, CHANGE_VisibleRun = 10001 };
// Messages between a form and its controls.
enum : UINT {
  WM_LISTBOX_SHOW = 0x065E, // to the form's frame: a drop-down opened (wParam 1) or closed (0);
                            // to a control: close your drop-down
  WM_JT_EVENT = 0x0ADA,     // to a control: HIWORD(wParam) asks for the next or previous control
};
enum : WORD { JT_NEXT_CONTROL = 1013, JT_PREVIOUS_CONTROL = 1014 };

// Parameter-type strings of FireEvent, one byte a parameter.
#define VTS_NONE reinterpret_cast<const BYTE*>("")
#define VTS_PVARIANT reinterpret_cast<const BYTE*>("\x4C")

class VALMIRA_API CBaseCtl : public CWnd {
public:
  CBaseCtl();
  ~CBaseCtl() override;

  // --- COM identity -------------------------------------------------------------
  ULONG ExternalAddRef();
  ULONG ExternalRelease();
  HRESULT ExternalQueryInterface(REFIID iid, void** ppv);
  // The primary dispatch interface (null for a base without automation).
  virtual IDispatch* GetPrimaryDispatch() { return nullptr; }
  // Destroys the window if it still exists, then deletes the object.
  void OnFinalRelease() override;

  // --- automation description ---------------------------------------------------
  void SetInterfaceIds(REFIID dispatchIid, REFIID eventIid);
  const IID& GetDispatchIID() const { return m_dispatchIid; }
  const IID& GetEventIID() const { return m_eventIid; }
  void SetOleMiscStatus(DWORD status) { m_oleMisc = status; }
  DWORD GetOleMiscStatus() const { return m_oleMisc; }
  void EnableAutomation() { m_automation = TRUE; }
  BOOL IsAutomationEnabled() const { return m_automation; }
  virtual UINT GetTypeInfoCount() { return 0; }
  virtual HRESULT GetTypeLib(LCID lcid, ITypeLib** ppTypeLib);
  virtual HRESULT GetClassID(CLSID* pClsid);

  // IDispatch of a dual interface, driven by its type information: names through
  // ITypeInfo::GetIDsOfNames, calls through ITypeInfo::Invoke on the vtable object.
  HRESULT DispatchGetTypeInfo(UINT index, LCID lcid, ITypeInfo** ppInfo);
  HRESULT DispatchGetIDsOfNames(LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
  HRESULT DispatchInvoke(void* dualThis, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                         UINT* argErr);

  // --- notifications ------------------------------------------------------------
  // Tells IPropertyNotifySink sinks and the hosting form that a property changed.
  void BoundPropertyChanged(DISPID id);
  // Calls every connected event sink synchronously; params is a VTS_ string.
  void FireEvent(DISPID id, const BYTE* params, ...);
  int EventSinkCount() const { return m_eventCP.SinkCount(); }

  // --- run mode, form and base state -------------------------------------------
  BOOL IsRunMode() const { return m_runMode; }
  void SetRunMode(BOOL run) { m_runMode = run; }
  DWORD GetBaseCtlBitInfo(DWORD mask) const { return m_bitInfo & mask; }
  void SetBaseCtlBitInfo(DWORD mask, BOOL on) { m_bitInfo = on ? (m_bitInfo | mask) : (m_bitInfo & ~mask); }
  virtual int GetControlType() { return m_controlType; }
  void SetControlType(int type) { m_controlType = type; }

  // The hosting form while the control sits on a running form; null otherwise.
  CBaseCtl* RunForm = nullptr;
  // Anchor record, computed from the control's anchor text by the font and image library.
  int AnchorFlag = 0;
  int AnchorValue1 = 0;
  int AnchorValue2 = 0;
  int AnchorValue3 = 0;
  int AnchorValue4 = 0;

  // Creates the control's window as a form runtime does: a child of the form window.
  virtual BOOL CreateControl(HWND parent, const RECT& rect, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);

  // --- stored properties --------------------------------------------------------
  virtual void Serialize(CArchive& ar);

  // --- the generic form protocol ------------------------------------------------
  // Overridden by controls (their side) and by the form (its side). Values that may carry
  // an address are LONG_PTR: a long on the 32-bit product, wide enough on a 64-bit host.
  virtual LONG_PTR GetPropertyLong(int nIndex);
  virtual long SetPropertyLong(int nIndex, int nNewValue);
  virtual CString GetPropertyString(int nIndex);
  virtual CString GetMethodString(int nId, CString strArg);
  virtual int SetMethodString(int nId, CString str1, CString str2, LONG_PTR lValue);
  virtual CString GetCommValue(int& nType, CString& strName, int nFlag);
  virtual BOOL IsAutoSave();
  virtual void SetRunFormDispatch(CBaseCtl* pForm, HWND hWnd, int n1, int n2);
  virtual void SetResizeControl(float fRateX, float fRateY, int n);
  virtual void OnLangageModeChange(WORD wMode);
  virtual void SetPreProprtySaveNotify();
  virtual void ColorChange();
  // Form side: offer an event (1 = the form took it), move the focus, learn of focus,
  // the frame window told of drop-downs, property changes of its controls.
  virtual int OnFormFireEventSend(CBaseCtl* pCtl, long nEvent, long n1, long n2, long n3, CString strValue);
  virtual long SetPreNextFocusToForm(int nMode, CBaseCtl* pCtl, HWND hWnd, LPCWSTR lpszName);
  virtual void SetFocusToForm(CBaseCtl* pCtl, HWND hWnd);
  virtual CWnd* GetChildFrameWndToForm();
  virtual void OnFormPropertyChanged(CBaseCtl* pCtl, DISPID id);

  // The base's press handling: the form runtime's click bookkeeping.
  virtual void OnLButtonDown(UINT nFlags, CPoint point);
  // Counts presses that reached the base's handling (read by hosts and tests).
  int BasePressCount() const { return m_basePresses; }

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  class XConnPtContainer : public IConnectionPointContainer {
  public:
    explicit XConnPtContainer(CBaseCtl* outer) : m_outer(outer) {}
    CBaseCtl* Outer() { return m_outer; }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  private:
    CBaseCtl* m_outer;
  } m_xConnPtContainer{this};

  HRESULT EnsureTypeInfo();

  LONG m_ref = 1;
  IID m_dispatchIid = IID_NULL;
  IID m_eventIid = IID_NULL;
  DWORD m_oleMisc = 0;
  BOOL m_automation = FALSE;
  BOOL m_runMode = FALSE;
  DWORD m_bitInfo = 0;
  int m_controlType = 0;
  int m_basePresses = 0;
  CComPtr<ITypeInfo> m_dispatchInfo;  // as the library hands it out
  CComPtr<ITypeInfo> m_interfaceInfo; // the vtable side, for Invoke
  CConnectionPoint m_eventCP;
  CConnectionPoint m_propNotifyCP;
};
