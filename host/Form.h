// The demo's running form: a top-level window with the controls on its left and the
// event log on its right, and the form's side of the protocol its controls call
// (events offered first, focus moves along the creation order, the drop-down notice).
#pragma once

#include "ControlLibrary.h"
#include "EventLog.h"
#include "EventSink.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One control on the form. The form holds one reference to the control and its sink.
struct FormControl {
  std::wstring Name;
  CBaseCtl* Ctl = nullptr;
  CComPtr<EventSink> Sink;
  RECT Rect = {};
  HWND Hwnd() const { return Ctl ? Ctl->m_hWnd : nullptr; }
  IDispatch* Dispatch() const { return Ctl ? Ctl->GetPrimaryDispatch() : nullptr; }
};

class DemoForm : public CBaseCtl {
public:
  static constexpr int kFormWidth = 600;
  static constexpr int kLogWidth = 330;
  static constexpr int kHeight = 480;
  // Limits of a form, whether built by a script or loaded from a file: a business form
  // holds dozens to hundreds of controls, each named briefly, each stream a few hundred bytes.
  static constexpr size_t kMaxControls = 500;
  static constexpr size_t kMaxNameChars = 128;

  explicit DemoForm(ControlLibrary& library);
  ~DemoForm() override;

  // Creates the form window; visible at once, since real input needs it on screen.
  bool Open(const wchar_t* title);
  HWND Window() const { return m_frame ? m_frame->m_hWnd : nullptr; }
  EventLog& Log() { return m_log; }
  ControlLibrary& Library() { return m_library; }

  // Makes a control named name at rect (form coordinates), applying the properties
  // "Name=value;..." before its window exists, and stream (a stored property stream)
  // through Serialize when not empty. Null with error set on failure.
  FormControl* Create(const std::wstring& name, const RECT& rect, const std::wstring& props,
                      const std::vector<BYTE>& stream, std::wstring& error);
  FormControl* Find(const std::wstring& name) const;
  const std::vector<std::unique_ptr<FormControl>>& Controls() const { return m_controls; }
  // Removes the control named name (false when there is none); a handler of the control
  // itself may ask for this.
  bool Remove(const std::wstring& name);
  void RemoveAll();

  // The control's masked field and its open drop-down calendar (null when none).
  static HWND FieldOf(const FormControl& c);
  HWND DropDownOf(const FormControl& c) const;
  // Name of the control whose field holds the keyboard focus, or "".
  std::wstring Focused() const;
  // Controls other than opener whose drop-down is open: they are told to close.
  std::vector<FormControl*> OpenDropDownsBesides(HWND opener) const;

  // What the form answers its controls.
  // True while a control's event (and so a script's handler) is running.
  bool InEvent() const { return m_eventDepth > 0; }
  void TakeEvents(bool take);
  void BlockFocus(bool block) { SetBaseCtlBitInfo(FORM_BLOCKS_FOCUS, block); }
  void AllowFocus(bool allow) { m_allowFocus = allow ? 1 : 0; }

  // Events as the connection points delivered them, "name.Event", in firing order: at
  // least the newest kMaxFired, so that a clerk typing all day does not grow the form.
  static constexpr size_t kMaxFired = EventLog::kMaxLines;
  std::vector<std::wstring> Fired;
  // Called for every event after it is recorded (the script's name_Event handlers);
  // answers whether a handler ran.
  std::function<bool(const std::wstring& control, const std::wstring& event)> EventHandler;

  // The form side of the protocol.
  int OnFormFireEventSend(CBaseCtl* pCtl, long nEvent, long n1, long n2, long n3, CString strValue) override;
  long SetPreNextFocusToForm(int nMode, CBaseCtl* pCtl, HWND hWnd, LPCWSTR lpszName) override;
  long SetPropertyLong(int nIndex, int nNewValue) override;
  void SetFocusToForm(CBaseCtl* pCtl, HWND hWnd) override;
  CWnd* GetChildFrameWndToForm() override;

  void OnDropDownNotice(WPARAM shown, HWND control);

  // Writes a property by name, the value converted from text as the type library says.
  static HRESULT PutProperty(IDispatch* disp, const std::wstring& name, const std::wstring& value);

private:
  class Frame;
  FormControl* FromCtl(CBaseCtl* ctl) const;
  void Release(std::unique_ptr<FormControl> c);
  void OnControlEvent(FormControl* c, const std::wstring& event);
  int m_eventDepth = 0;
  bool FocusControl(FormControl* c);

  ControlLibrary& m_library;
  CWnd* m_frame = nullptr;
  EventLog m_log;
  EventInterface m_events;
  std::vector<std::unique_ptr<FormControl>> m_controls;
  int m_takeAnswer = 0;
  long m_allowFocus = 1;
  UINT m_nextId = 100;
  // Each control's drop-down window, learnt from its notices.
  std::map<HWND, HWND> m_dropDowns;
};
