// What every test program of the control needs: COM, a real top-level form window, a
// recording form object, sinks that record property changes and events, and helpers
// that drive a control through IDispatch by name as a host would.
#pragma once

#include "CStringPrint.h"
#include "Sequence.h"
#include "CalendarCtl.h"
#include "Dispatch.h"
#include "Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testhost {

// A form as the runtime has one: a CBaseCtl that records every call of the form
// protocol, answers as the test sets it, and owns a real top-level window.
class RecordingForm : public CBaseCtl {
public:
  RecordingForm();
  ~RecordingForm() override;
  seq::Log Calls{seq::Call}; // property changes the form is told of are Change entries (dispids)
  int FireEventAnswer = 0;
  long AllowFocusAnswer = 1;
  CWnd* FrameWnd = nullptr;

  int OnFormFireEventSend(CBaseCtl* pCtl, long nEvent, long n1, long n2, long n3, CString strValue) override;
  long SetPreNextFocusToForm(int nMode, CBaseCtl* pCtl, HWND hWnd, LPCWSTR lpszName) override;
  long SetPropertyLong(int nIndex, int nNewValue) override;
  void SetFocusToForm(CBaseCtl* pCtl, HWND hWnd) override;
  CWnd* GetChildFrameWndToForm() override;
  void OnFormPropertyChanged(CBaseCtl* pCtl, DISPID id) override;
};

// Records IPropertyNotifySink::OnChanged and event Invoke calls of one control.
class Recorder : public IPropertyNotifySink, public IDispatch {
public:
  seq::Log Changes{seq::Change}; // dispids, as text
  seq::Log Events{seq::Event};
  // Called inside an event (after recording it), for tests that act from a handler.
  void (*OnEvent)(Recorder* self, DISPID id, DISPPARAMS* params) = nullptr;

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

// A control's stored properties, as its Serialize writes them into a form's stream.
inline std::vector<BYTE> StoredProperties(CBaseCtl* c) {
  std::vector<BYTE> data;
  CArchive ar(data, CArchive::store);
  c->Serialize(ar);
  return data;
}

// The name of an event dispatch id ("EditFull" ...).
const wchar_t* EventName(DISPID id);

// The field's text and selection.
std::wstring TextOf(const CCalendarEdit& edit);
std::pair<int, int> SelOf(const CCalendarEdit& edit);
// The field's mask records: each position's type and the character it holds.
struct MaskRecords {
  std::vector<int> types;
  std::wstring chars;
};
MaskRecords RecordsOf(const CCalendarEdit& edit);
// lParam of a WM_CHAR or WM_KEYDOWN carrying a scan code.
inline LPARAM KeyFlags(UINT scan) { return static_cast<LPARAM>(1 | (scan << 16)); }
bool PutClipboardText(HWND owner, const std::wstring& text);
std::wstring ClipboardText(HWND owner);

// Records what the control window receives from its field: WM_CHAR-driven notifications,
// the event codes, the caption updates, the drop-down and step messages. Installed on
// top of the control window's procedure chain, as any other subclass.
class ControlMessageLog {
public:
  void Attach(HWND control, HWND edit);
  void Detach();
  seq::Log Entries{seq::Message};
  // The caption updates, the drop-down and the stepping are the control's: they are
  // answered here, so that the value logic cannot rewrite the text under the field's
  // tests, no calendar opens and no value steps.

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
  HWND m_control = nullptr;
  HWND m_edit = nullptr;
};

// One control on a real form window, connected to a recorder.
class ControlFixture : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Creates the control window (run mode by default); props are set before creation.
  void Create(bool runMode = true, int width = 140, int height = 22);
  // A new form and control, as at the start of a test.
  void Renew() {
    TearDown();
    SetUp();
  }
  // Replaces the control by a new one, connected, its window not yet created.
  void Fresh();
  // A fresh control with these formats and initial-value unit, window created.
  void Recreate(short style, short dateFormat, short timeFormat, short basic = 0, bool runMode = true);
  void Connect();
  // The control's connection point for iid, or null.
  CComPtr<IConnectionPoint> Point(REFIID iid);

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
  void SendChar(WCHAR ch, UINT scan = 0);
  // A key press and release with its scan code.
  void SendKey(UINT vk);

  CCalendarCtl* Ctl = nullptr;
  RecordingForm* Form = nullptr;
  Recorder Rec;
  DWORD EventCookie = 0;
  DWORD PropCookie = 0;
};

// A real control on a real form with its field masked and its messages recorded.
class EditControlFixture : public ControlFixture {
protected:
  void TearDown() override;
  void CreateWithMask(const wchar_t* mask, int fullLength);
  // Sets the text as the control's value display does, then clears every record.
  void ShowValue(const wchar_t* text);
  void ClearRecords();
  std::wstring Text() const { return TextOf(Ctl->Edit); }
  std::pair<int, int> Sel() const { return SelOf(Ctl->Edit); }
  // A plain EDIT on the form beside the control, gone with the form.
  HWND PlainEdit() {
    return CreateWindowExW(0, L"EDIT", L"other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 60, 100, 22, FormWindow(),
                           nullptr, nullptr, nullptr);
  }
  // Recorded control messages, without the notifications and caption updates.
  seq::Log TakeControlCodes();
  ControlMessageLog Log;
};

// The theme library's drawing calls, and one complete paint of a control that records them.
class RenderFixture : public ControlFixture {
protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<std::wstring> PaintOnce();
  void SendMouse(UINT msg, int x, int y, WPARAM keys = 0) { SendMessageW(Ctl->m_hWnd, msg, keys, MAKELPARAM(x, y)); }
};

std::wstring RectText(const RECT& r);
// The edit's rectangle in the control's client coordinates.
CRect EditRectInControl(CCalendarCtl* ctl);

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
