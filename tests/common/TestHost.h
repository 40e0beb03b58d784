// What every test program of the control needs: COM, a real top-level form window, a
// recording form object, sinks that record property changes and events, and helpers
// that drive a control through IDispatch by name as a host would.
#pragma once

#include "CStringPrint.h"
#include "CalendarCtl.h"
#include "Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testhost {

// Runs once per test program: COM and common controls.
class Environment : public ::testing::Environment {
public:
  void SetUp() override;
  void TearDown() override;
};

// A form as the runtime has one: a CBaseCtl that records every call of the form
// protocol, answers as the test sets it, and owns a real top-level window.
class RecordingForm : public CBaseCtl {
public:
  RecordingForm();
  ~RecordingForm() override;
  std::vector<std::wstring> Calls;
  int FireEventAnswer = 0;
  long AllowFocusAnswer = 1;
  CWnd* FrameWnd = nullptr;
  // The form's controls in creation order, with their names; focus moves among them.
  std::vector<std::pair<std::wstring, CCalendarCtl*>> Members;

  int OnFormFireEventSend(CBaseCtl* pCtl, long nEvent, long n1, long n2, long n3, CString strValue) override;
  long SetPreNextFocusToForm(int nMode, CBaseCtl* pCtl, HWND hWnd, LPCWSTR lpszName) override;
  long SetPropertyLong(int nIndex, int nNewValue) override;
  void SetFocusToForm(CBaseCtl* pCtl, HWND hWnd) override;
  CWnd* GetChildFrameWndToForm() override;
  void OnFormPropertyChanged(CBaseCtl* pCtl, DISPID id) override;
  std::vector<std::wstring> TakeCalls();
};

// Records IPropertyNotifySink::OnChanged and event Invoke calls of one control.
class Recorder : public IPropertyNotifySink, public IDispatch {
public:
  std::vector<long> Changes;
  std::vector<std::wstring> Events;
  // Called inside an event (after recording it), for tests that act from a handler.
  void (*OnEvent)(Recorder* self, DISPID id, DISPPARAMS* params) = nullptr;
  void* Context = nullptr;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_ref; }
  STDMETHODIMP_(ULONG) Release() override { return --m_ref; }
  STDMETHODIMP OnChanged(DISPID id) override;
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;
  ULONG RefCount() const { return m_ref; }

private:
  ULONG m_ref = 1;
};

// The name of an event dispatch id ("EditFull" ...).
const wchar_t* EventName(DISPID id);

// One control on a real form window, connected to a recorder.
class ControlFixture : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Creates the control window (run mode by default); props are set before creation.
  void Create(bool runMode = true, int width = 140, int height = 22);
  // A fresh control with these formats and initial-value unit, window created.
  void Recreate(short style, short dateFormat, short timeFormat, short basic = 0, bool runMode = true);
  void Connect();

  HWND FormWindow() const { return Form->FrameWnd->m_hWnd; }
  HRESULT Put(const wchar_t* name, VARIANT value);
  HRESULT PutLong(const wchar_t* name, long value);
  HRESULT PutString(const wchar_t* name, const wchar_t* value);
  // Reads a property by name, as text (numbers in decimal).
  std::wstring Get(const wchar_t* name);
  // Calls a method by name with arguments given first to last; the result as text.
  HRESULT Call(const wchar_t* name, std::vector<VARIANT> args, std::wstring* result = nullptr,
               EXCEPINFO* excep = nullptr);
  // Types text into the control's field as WM_CHAR messages.
  void TypeChars(const wchar_t* text);
  void PressKey(UINT vk);

  CCalendarCtl* Ctl = nullptr;
  RecordingForm* Form = nullptr;
  Recorder Rec;
  DWORD EventCookie = 0;
  DWORD PropCookie = 0;
};

VARIANT VLong(long v);
VARIANT VStr(const wchar_t* s);

// Pins every "today" and "now" of the controls to a local instant in UTC for its life.
class PinnedClock {
public:
  explicit PinnedClock(const wchar_t* instant) {
    TamveroSetTimeZone(L"UTC0");
    TamveroPinClock(instant);
  }
  ~PinnedClock() {
    TamveroPinClock(nullptr);
    TamveroSetTimeZone(nullptr);
  }
  PinnedClock(const PinnedClock&) = delete;
  PinnedClock& operator=(const PinnedClock&) = delete;
};

// Pumps pending messages of this thread.
void Pump();

} // namespace testhost
