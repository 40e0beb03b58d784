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
#include "fxgdi.h"
#include "fxwnd.h"

#include <vector>

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

// What GetControlFlags reports about the control's drawing and activation.
enum ControlFlag : DWORD {
  fastBeginPaint = 0x0001,
  clipPaintDC = 0x0002,
  pointerInactive = 0x0004,
  noFlickerActivate = 0x0008,
  windowlessActivate = 0x0010,
  canOptimizeDraw = 0x0020,
};

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
  // FALSE when the control has no primary dispatch interface.
  virtual BOOL GetDispatchIID(IID* pIID);
  const IID& GetEventIID() const { return m_eventIid; }
  void SetOleMiscStatus(DWORD status) { m_oleMisc = status; }
  DWORD GetOleMiscStatus() const { return m_oleMisc; }
  void EnableAutomation() { m_automation = TRUE; }
  BOOL IsAutomationEnabled() const { return m_automation; }
  static const CRuntimeClass classCBaseCtl;
  virtual const CRuntimeClass* GetRuntimeClass() const { return &classCBaseCtl; }
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
  // Connection points beyond the events and property notifications: up to nMax borrowed
  // pointers written to ppPoints, their number returned.
  virtual int GetExtraConnectionPoints(IConnectionPoint** ppPoints, int nMax);
  // A point answering iid ahead of the control's own ones (borrowed), or null.
  virtual IConnectionPoint* GetConnectionHook(REFIID iid);

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

  // --- creation, size and stored properties ----------------------------------------
  // The control's window, a child of the form's window hWndParent; the class is the
  // framework's own whatever is passed. The rectangle becomes the control's extent.
  // FALSE when the window exists already or is not created.
  virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, HWND hWndParent,
                      UINT nID, void* pContext = nullptr);
  virtual void Serialize(CArchive& ar);
  // Fills the members from a loading archive through Serialize. FALSE for a storing
  // archive or once the window exists (creation is what applies stored values); archive
  // errors reach the caller as Serialize throws them.
  virtual BOOL LoadControl(CArchive& ar);
  // The extent in pixels: the window's size once it exists, else the last one set.
  virtual void GetControlSize(int* pcx, int* pcy);
  // FALSE for a negative size; resizes the window when there is one.
  virtual BOOL SetControlSize(int cx, int cy);
  // The form's name, control type and id of this control.
  virtual void SetCtrlInfo(LPCWSTR lpszName, int nControlType, UINT nID);
  const CString& GetCtrlName() const { return m_ctrlName; }
  UINT GetCtrlID() const { return m_ctrlId; }
  virtual DWORD GetControlFlags();

  // --- drawing and the property browser ------------------------------------------------
  // Draws the control into pDC; WM_PAINT, WM_PRINT and WM_PRINTCLIENT all end here.
  virtual void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid);
  // Renders the stored properties (format CF_CONTROL_PROPERTIES, global memory).
  virtual BOOL OnGetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
  static UINT ControlPropertiesFormat();
  virtual BOOL ShowPropertySheet();
  // A property's value as text, read through the primary dispatch interface.
  virtual BOOL OnGetDisplayString(DISPID dispid, CString& strValue);
  virtual BOOL OnMapPropertyToPage(DISPID dispid, LPCLSID lpclsid, BOOL* pbPageOptional);
  virtual BOOL OnGetPredefinedStrings(DISPID dispid, CStringArray* pStringArray, CDWordArray* pCookieArray);
  virtual BOOL OnGetPredefinedValue(DISPID dispid, DWORD dwCookie, VARIANT* lpvarOut);
  // The arrow while the control is inactive, when bSetAlways; TRUE when a cursor was set.
  virtual BOOL OnInactiveSetCursor(LPCRECT lprcBounds, long x, long y, DWORD dwMouseMsg, BOOL bSetAlways);

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

  // The rest of the form protocol: a control that does not take part answers nothing,
  // 0, a null pointer or the empty string.
  virtual void OnChangParentColor();
  virtual void SetFormRButtonClick();
  virtual void LinkEvent(LPCWSTR lpszEvent);
  virtual void GetLinkTagData(LPCWSTR lpszTag);
  virtual void SetLinkTagData(LPCWSTR lpszTag);
  virtual void SetBuilderViewWnd(HWND hWnd);
  virtual void SetRunFormDllWnd(HWND hWnd);
  virtual void AddControl(CBaseCtl* pCtl, long lKind);
  virtual void SendMessageDllViewFromMain(int nMsg, LPCWSTR lpszData);
  virtual void SetCommonLocalLinkEvent(LPCWSTR lpszName, LPCWSTR lpszEvent);
  virtual void SetLinkTagDataToForm(LPCWSTR lpszTag, LPCWSTR lpszData);
  virtual void LayoutTabGetLinkTagData(LPCWSTR lpszTag, long lIndex, int nMode);
  virtual void OnFormResizeControlProc(int cx, int cy, _TREEITEM* pItem);
  virtual void OnFormSplitResizeControlProc(int cx, int cy, _TREEITEM* pItem);
  virtual void SetFormGroupBoxDataProc(CBaseCtl* pCtl, int n1, int n2);
  virtual void SetInterestCodeChange(CObArray* pArray, LPCWSTR lpszCode, int nMode);
  virtual void SetLastData(LPCWSTR lpsz1, LPCWSTR lpsz2, LPCWSTR lpsz3);
  virtual void SetSplitControlResizeControl(int nMode, float fRateX, float fRateY);
  virtual void OnFormAnchorResizeControlProc(int cx, int cy, int nMode, _TREEITEM* pItem);
  virtual void SetResizeControlEx(float f1, float f2, float f3, float f4, int n);
  virtual void MoveControlProc(HWND hWnd, int x, int y, int cx, int cy, long lFlags);
  virtual void SetBinaryData(long lSize, char* pData, CString strName);
  virtual void SetCommonParentFormToChildFormProc(int n1, int n2, CString str);
  virtual void SetCommonMultiLangPropertyDataProc(CString str, int nIndex);
  virtual void GetCommDataMsg(long lId, CString str, int& nType, CString& str1, CString& str2, int nMode);
  virtual long CommGetTranInfo(LPCWSTR lpsz1, LPCWSTR lpsz2);
  virtual long GetInterestInfo(CObArray* pArray, LPCWSTR lpszCode);
  virtual long SetDesignEditProc(int nMode, int& nValue);
  virtual long SetFuctionKeyProcess(int nKey, int nMode);
  virtual int GetFormLinkNameCount(LPCWSTR lpszName);
  virtual BOOL GetIsCommonLinkInfoUse(int nMode);
  virtual long GetFormScreenVersionInfo();
  virtual BOOL IsLinkInformation();
  virtual long SetFormToFormDataSend(LPCWSTR lpsz1, LPCWSTR lpsz2, LPCWSTR lpsz3, long lValue);
  virtual long GetCommDataFromFormControl(LPCWSTR lpsz1, LPCWSTR lpsz2, LPCWSTR lpsz3, LPCWSTR lpsz4,
                                          CStringArray& arData);
  virtual long GetInterestCodePNbySort(CObArray* pArray, LPCWSTR lpsz1, LPCWSTR lpsz2, LPCWSTR lpsz3, LPCWSTR lpsz4,
                                       long lValue);
  virtual long SetFormSplitSizeProc(CBaseCtl* pCtl, int n1, int n2, float f1, float f2, int n3, int n4);
  virtual long SetAutoTranInfoEx(CObArray* pArray, short s1, short s2, int& n1, int& n2, LPCWSTR lpsz1, LPCWSTR lpsz2,
                                 int n3);
  virtual long FuncCommRequest(CString str1, CString str2, int n);
  virtual long GetCommBinaryInputRecordData(CMapStringToPtr& map, int n, CString str1, CString str2, CString str3,
                                            int& n1, int& n2);
  virtual long GetCommInputRecordData(CMapStringToPtr& map, int n, CString str1, CString str2, CString str3,
                                      CString& strOut);
  virtual long GetTranInputDataFromFormControl(CString str, void* pData, CString& strOut);
  virtual long SetForm_MapDlg(HWND hWnd, CString str1, CString str2, CString& strOut1, CString& strOut2);
  virtual long SetForm_MapDlg3(HWND hWnd, CString str1, CString str2, CString& strOut1, CString& strOut2,
                               CString& strOut3);
  virtual char* GetBinaryData(long& lSize);
  virtual IDispatch* GetFormDispatch();
  virtual CWnd* GetBaseCtlWnd(CString strName);
  virtual _TREEITEM* GetTreeItemToFormControl(CString strName);
  virtual CString GetCommonMultiLangPropertyDataProc(int nIndex);
  virtual CString GetDgnBusinessPropertyDataProc(int nIndex);
  virtual CString GetLastData(LPCWSTR lpsz1, LPCWSTR lpsz2);
  virtual CString GetMultiCommValue(int& nType, CString& str1, CString& str2, CString str3, int n);
  virtual CString GetRequestData(CString str1, CString str2, CString str3, long l, int n, CString str4);

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

  // The coclass and its default event interface, from the control's type library.
  class XProvideClassInfo : public IProvideClassInfo2 {
  public:
    explicit XProvideClassInfo(CBaseCtl* outer) : m_outer(outer) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_outer->ExternalQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_outer->ExternalAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_outer->ExternalRelease(); }
    STDMETHODIMP GetClassInfo(ITypeInfo** ppTI) override;
    STDMETHODIMP GetGUID(DWORD dwGuidKind, GUID* pGUID) override;

  private:
    CBaseCtl* m_outer;
  } m_xProvideClassInfo{this};

  // Every connection point the container answers for, borrowed, in enumeration order.
  std::vector<IConnectionPoint*> AllConnectionPoints();

  HRESULT EnsureTypeInfo();
  // WM_PRINTCLIENT and WM_PRINT: the control's drawing, then its children, into hdc.
  void PrintClient(HDC hdc);
  void PrintChildren(HDC hdc, UINT flags);

  LONG m_ref = 1;
  IID m_dispatchIid = IID_NULL;
  IID m_eventIid = IID_NULL;
  DWORD m_oleMisc = 0;
  BOOL m_automation = FALSE;
  BOOL m_runMode = FALSE;
  DWORD m_bitInfo = 0;
  int m_controlType = 0;
  int m_basePresses = 0;
  int m_cxExtent = 0;
  int m_cyExtent = 0;
  CString m_ctrlName;
  UINT m_ctrlId = 0;
  CComPtr<ITypeInfo> m_dispatchInfo;  // as the library hands it out
  CComPtr<ITypeInfo> m_interfaceInfo; // the vtable side, for Invoke
  CConnectionPoint m_eventCP;
  CConnectionPoint m_propNotifyCP;
};
