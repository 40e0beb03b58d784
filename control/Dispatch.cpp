// The dual interface ICalendarCtl over the control: property accessors store the member
// and run its change handler; methods forward to the control's members. IDispatch is
// answered from the type library through the base.
#include "CalendarCtl.h"

class CCalendarCtl::XCalendarCtl : public ICalendarCtl {
public:
  explicit XCalendarCtl(CCalendarCtl* ctl) : m_ctl(ctl) {}
  virtual ~XCalendarCtl() = default;

  // IUnknown: the control's identity.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_ctl->ExternalQueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return m_ctl->ExternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_ctl->ExternalRelease(); }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_POINTER;
    *pctinfo = m_ctl->GetTypeInfoCount();
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** ppInfo) override {
    return m_ctl->DispatchGetTypeInfo(index, lcid, ppInfo);
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    return m_ctl->DispatchGetIDsOfNames(names, count, lcid, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                      UINT* argErr) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    // SetValue takes the address of a wide string. A script cannot make one, but the
    // string it passes is one: hand its address on (a variable passed by reference too).
    if (id == METHOD_SetValue && params && params->cArgs == 1) {
      CVariant arg;
      if (FAILED(VariantCopyInd(&arg, &params->rgvarg[0]))) return DISP_E_TYPEMISMATCH;
      if (V_VT(&arg) == VT_BSTR) {
        CVariant address;
#ifdef _WIN64
        V_VT(&address) = VT_I8;
        V_I8(&address) = reinterpret_cast<LONG_PTR>(V_BSTR(&arg));
#else
        V_VT(&address) = VT_I4;
        V_I4(&address) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(V_BSTR(&arg)));
#endif
        DISPPARAMS adapted = {&address, nullptr, 1, 0};
        return m_ctl->DispatchInvoke(static_cast<ICalendarCtl*>(this), id, flags, &adapted, result, excep, argErr);
      }
    }
    return m_ctl->DispatchInvoke(static_cast<ICalendarCtl*>(this), id, flags, params, result, excep, argErr);
  }

#define TAMVERO_STRING_PROPERTY(name, handler)                                                                         \
  STDMETHODIMP get_##name(BSTR* pVal) override {                                                                       \
    if (!pVal) return E_POINTER;                                                                                       \
    *pVal = m_ctl->name.AllocSysString();                                                                              \
    return S_OK;                                                                                                       \
  }                                                                                                                    \
  STDMETHODIMP put_##name(BSTR newVal) override {                                                                      \
    m_ctl->name = CString(newVal, static_cast<int>(SysStringLen(newVal)));                                             \
    m_ctl->handler();                                                                                                  \
    return S_OK;                                                                                                       \
  }
#define TAMVERO_VALUE_PROPERTY(type, name, handler)                                                                    \
  STDMETHODIMP get_##name(type* pVal) override {                                                                       \
    if (!pVal) return E_POINTER;                                                                                       \
    *pVal = static_cast<type>(m_ctl->name);                                                                            \
    return S_OK;                                                                                                       \
  }                                                                                                                    \
  STDMETHODIMP put_##name(type newVal) override {                                                                      \
    m_ctl->name = static_cast<decltype(m_ctl->name)>(newVal);                                                          \
    m_ctl->handler();                                                                                                  \
    return S_OK;                                                                                                       \
  }

  TAMVERO_STRING_PROPERTY(Caption, OnTextChanged)
  TAMVERO_VALUE_PROPERTY(LONG, Enabled, OnEnabledChanged)
  TAMVERO_VALUE_PROPERTY(short, AppearanceStyle, OnAppearanceStyleChanged)
  TAMVERO_VALUE_PROPERTY(LONG, Visible, OnVisibleChanged)
  TAMVERO_VALUE_PROPERTY(OLE_COLOR, BackColorIndex, OnBackColorIndexChanged)
  TAMVERO_VALUE_PROPERTY(OLE_COLOR, ForeColorIndex, OnForeColorIndexChanged)
  TAMVERO_VALUE_PROPERTY(short, DateFormat, OnDateFormatChanged)
  TAMVERO_STRING_PROPERTY(Item, OnItemChanged)
  TAMVERO_VALUE_PROPERTY(short, ItemFlag, OnItemFlagChanged)
  TAMVERO_STRING_PROPERTY(StartTime, OnStartTimeChanged)
  TAMVERO_STRING_PROPERTY(EndTime, OnEndTimeChanged)
  TAMVERO_VALUE_PROPERTY(short, BasicClient, OnBasicClientChanged)
  TAMVERO_VALUE_PROPERTY(short, Variance, OnVarianceChanged)
  TAMVERO_VALUE_PROPERTY(short, Indicator, OnIndicatorChanged)
  TAMVERO_VALUE_PROPERTY(short, Style, OnStyleChanged)
  TAMVERO_VALUE_PROPERTY(short, TimeFormat, OnTimeFormatChanged)
  TAMVERO_VALUE_PROPERTY(LONG, AutoSave, OnAutoSaveChanged)
  TAMVERO_VALUE_PROPERTY(short, FontIndex, OnFontIndexChanged)
  TAMVERO_STRING_PROPERTY(Fid, OnFidChanged)
  TAMVERO_VALUE_PROPERTY(LONG, RequireInput, OnRequireInputChanged)
  TAMVERO_STRING_PROPERTY(NextFocusCtrlName, OnNextFocusCtrlNameChanged)
  TAMVERO_VALUE_PROPERTY(LONG, NotCheckDate, OnNotCheckDateChanged)
  TAMVERO_STRING_PROPERTY(Anchor, OnAnchorChanged)
#undef TAMVERO_STRING_PROPERTY
#undef TAMVERO_VALUE_PROPERTY

  STDMETHODIMP GetItem(BSTR* pResult) override { return Out(pResult, m_ctl->GetItem()); }
  STDMETHODIMP GetComputedDate(short nBasic, short nVariance, short nIndicator, BSTR* pResult) override {
    return Out(pResult, m_ctl->GetComputedDate(nBasic, nVariance, nIndicator));
  }
  STDMETHODIMP SetFocus() override {
    m_ctl->MSetFocus();
    return S_OK;
  }
  STDMETHODIMP SetRedraw(LONG bAllowDraw) override {
    m_ctl->SetRedraw(bAllowDraw);
    return S_OK;
  }
  STDMETHODIMP SetValue(LONG_PTR lpValue, short* pResult) override {
    short r = m_ctl->SetValue(lpValue);
    if (pResult) *pResult = r;
    return S_OK;
  }
  STDMETHODIMP GetComputedTime(short nBasic, short nVariance, short nIndicator, BSTR* pResult) override {
    return Out(pResult, m_ctl->GetComputedTime(nBasic, nVariance, nIndicator));
  }
  STDMETHODIMP GetValue(BSTR* pResult) override { return Out(pResult, m_ctl->GetValue()); }
  STDMETHODIMP SetCaptionCtrl(BSTR lpszValue) override {
    m_ctl->SetCaptionCtrl(lpszValue ? lpszValue : L"");
    return S_OK;
  }
  STDMETHODIMP GetBaseComputedDate(BSTR strBaseDate, short nBasic, short nVariance, short nIndicator,
                                   BSTR* pResult) override {
    if (!pResult) return E_POINTER;
    HRESULT hr = m_ctl->GetBaseComputedDate(strBaseDate ? strBaseDate : L"", nBasic, nVariance, nIndicator, pResult);
    if (FAILED(hr))
      Raise(hr == E_INVALIDARG ? L"GetBaseComputedDate: the base date cannot be converted to a time"
                               : L"GetBaseComputedDate: the base date is before 1970 or its month or day is "
                                 L"out of range");
    return hr;
  }
  STDMETHODIMP GetCaptionCtrl(BSTR* pResult) override { return Out(pResult, m_ctl->MGetCaptionCtrl()); }
  STDMETHODIMP SetCaptionCtrlEx(BSTR lpszValue, LONG bEvent) override {
    m_ctl->MSetCaptionCtrlEx(lpszValue ? lpszValue : L"", bEvent);
    return S_OK;
  }
  STDMETHODIMP CheckCaption(LONG* pResult) override {
    if (!pResult) return E_POINTER;
    *pResult = m_ctl->CheckCaption();
    return S_OK;
  }
  STDMETHODIMP GetCurDate(VARIANT* nYear, VARIANT* nMonth, VARIANT* nDay, LONG* pResult) override {
    if (!nYear || !nMonth || !nDay || !pResult) return E_POINTER;
    *pResult = m_ctl->GetCurDate(nYear, nMonth, nDay);
    return S_OK;
  }

private:
  // Describes a failed call to the caller of IDispatch::Invoke (a script's error text).
  static void Raise(const wchar_t* description) {
    CComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(&create))) return;
    create->SetGUID(IID_ICalendarCtl);
    create->SetSource(const_cast<LPOLESTR>(L"Tamvero.CalendarCtl"));
    create->SetDescription(const_cast<LPOLESTR>(description));
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) SetErrorInfo(0, info);
  }
  static HRESULT Out(BSTR* dest, BSTR value) {
    CBstr owned;
    owned.Attach(value);
    if (!dest) return E_POINTER;
    *dest = owned.Detach();
    return S_OK;
  }
  CCalendarCtl* m_ctl;
};

IDispatch* CCalendarCtl::GetPrimaryDispatch() { return m_xCalendarCtl; }

void CCalendarCtl::CreateDispatch() { m_xCalendarCtl = new XCalendarCtl(this); }

void CCalendarCtl::DeleteDispatch() {
  delete m_xCalendarCtl;
  m_xCalendarCtl = nullptr;
}
