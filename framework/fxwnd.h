// Windows: creation of framework windows, subclassing of system classes, one virtual
// message dispatch per class, and reflection of child notifications back to the child.
#pragma once

#include "fx.h"

LRESULT CALLBACK FxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Reflected notifications arrive at the child as OnChildNotify with the original message.
class FX_API CWnd {
public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }

  // A window of the framework's own class, dispatched to WindowProc from its first message.
  BOOL CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent, UINT_PTR id);
  // A window of a system class (EDIT, SysMonthCal32), subclassed right after creation.
  BOOL CreateSystem(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect,
                    HWND parent, UINT_PTR id);
  BOOL SubclassWindow(HWND hwnd);
  BOOL DestroyWindow();

  static CWnd* FromHandlePermanent(HWND hwnd);

  // A handler reached from inside a message may destroy or release the object whose
  // window dispatches it. Every message a window dispatches keeps its life owner (itself
  // unless set) in use; a destroy or delete asked for meanwhile waits until the outermost
  // use returns, the window hidden until then.
  void SetLifeOwner(CWnd* owner) { m_lifeOwner = owner ? owner : this; }
  void BeginUse() { ++m_inUse; }
  void EndUse();
  BOOL InUse() const { return m_inUse > 0; }
  BOOL DestroyWindowWhenIdle();
  void DeleteWhenIdle();

  // The class's message dispatch; the default reflects child notifications and then
  // gives the message to the window class's own procedure.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // A notification of this window reflected by its parent; TRUE when handled.
  virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Destroys the window if it still exists; then the object goes.
  virtual void OnFinalRelease();

  // The standard processing of the message being dispatched.
  LRESULT Default();
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
  }
  void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text ? text : L""); }
  CString GetWindowText() const;
  // A window not shown keeps no update region, and showing it paints it whole: asking
  // would only cost a trip to the window manager.
  void Invalidate(BOOL erase = TRUE) { InvalidateRect(nullptr, erase); }
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
    if (::IsWindowVisible(m_hWnd)) ::InvalidateRect(m_hWnd, rect, erase);
  }
  BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

private:
  friend LRESULT CALLBACK FxWndProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd);
  void Detach();
  WNDPROC m_superProc = nullptr;
  CWnd* m_lifeOwner = this;
  int m_inUse = 0;
  bool m_destroyPending = false;
  bool m_deletePending = false;
};

// Keeps a window object in use for a scope (an entry into the object from outside).
class CWndUse {
public:
  explicit CWndUse(CWnd* wnd) : m_wnd(wnd) { m_wnd->BeginUse(); }
  ~CWndUse() { m_wnd->EndUse(); }
  CWndUse(const CWndUse&) = delete;
  CWndUse& operator=(const CWndUse&) = delete;

private:
  CWnd* m_wnd;
};

// How many objects and windows of the process had their delete or destroy deferred
// because they were in use (tests check that the deferral happened).
FX_API long FxDeferredCount();

class FX_API CEdit : public CWnd {
public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void GetSel(int& start, int& end) const;
  void SetSel(int start, int end, BOOL noScroll = FALSE);
};

class FX_API CMonthCalCtrl : public CWnd {
public:
  BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id);
  BOOL SetCurSel(const SYSTEMTIME& st);
  BOOL GetCurSel(SYSTEMTIME& st) const;
  BOOL SetRange(const SYSTEMTIME& minDate, const SYSTEMTIME& maxDate);
  BOOL GetMinReqRect(RECT& rect) const;
  BOOL SizeMinReq(BOOL repaint = TRUE);
};

// Dispatches every message queued for this thread (tests and the demo use it to let
// real input arrive).
FX_API void FxPumpMessages();
