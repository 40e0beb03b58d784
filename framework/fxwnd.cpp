#include "fxwnd.h"

#include <unordered_map>
#include <utility>

namespace {

const wchar_t kFxClass[] = L"TamveroFxWnd";

// Windows of the process known to the framework; every window is used on the thread
// that made it, the lock only keeps the table itself consistent.
struct WindowTable {
  SRWLOCK lock = SRWLOCK_INIT;
  std::unordered_map<HWND, CWnd*> map;
};
WindowTable& Table() {
  static WindowTable t;
  return t;
}

thread_local CWnd* t_creating = nullptr;

struct CurrentMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
thread_local CurrentMessage* t_current = nullptr;

long g_deferred = 0;

bool RegisterFxClass() {
  static bool done = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FxWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kFxClass;
    wc.style = CS_GLOBALCLASS;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return done;
}

// Messages whose notification the parent hands back to the child that raised it.
HWND ReflectionTarget(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_COMMAND:
    return lParam ? reinterpret_cast<HWND>(lParam) : nullptr;
  case WM_NOTIFY:
    return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORSCROLLBAR:
    (void)wParam;
    return reinterpret_cast<HWND>(lParam);
  default:
    return nullptr;
  }
}

} // namespace

LRESULT CALLBACK FxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (!wnd && t_creating) {
    wnd = t_creating;
    t_creating = nullptr;
    wnd->Attach(hwnd);
  }
  if (!wnd) return ::DefWindowProcW(hwnd, msg, wParam, lParam);

  CurrentMessage current{hwnd, msg, wParam, lParam};
  CurrentMessage* outer = t_current;
  t_current = &current;
  CWnd* owner = wnd->m_lifeOwner;
  // Held for the whole message: a handler inside it may release either.
  CWndUse ownerUse(owner), selfUse(wnd);
  LRESULT result = wnd->WindowProc(msg, wParam, lParam);
  t_current = outer;

  if (msg == WM_NCDESTROY) wnd->Detach();
  return result;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd) {
    HWND h = m_hWnd;
    if (::IsWindow(h)) ::DestroyWindow(h);
    if (m_hWnd) Detach();
  }
}

void CWnd::Attach(HWND hwnd) {
  m_hWnd = hwnd;
  WindowTable& t = Table();
  AcquireSRWLockExclusive(&t.lock);
  t.map[hwnd] = this;
  ReleaseSRWLockExclusive(&t.lock);
}

void CWnd::Detach() {
  if (!m_hWnd) return;
  if (m_superProc) {
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
  }
  WindowTable& t = Table();
  AcquireSRWLockExclusive(&t.lock);
  t.map.erase(m_hWnd);
  ReleaseSRWLockExclusive(&t.lock);
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  if (!hwnd) return nullptr;
  WindowTable& t = Table();
  AcquireSRWLockShared(&t.lock);
  auto it = t.map.find(hwnd);
  CWnd* w = it == t.map.end() ? nullptr : it->second;
  ReleaseSRWLockShared(&t.lock);
  return w;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent, UINT_PTR id) {
  if (m_hWnd || !RegisterFxClass()) return FALSE;
  CWnd* outer = t_creating;
  t_creating = this;
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(id) : nullptr;
  HWND h = ::CreateWindowExW(exStyle, kFxClass, title ? title : L"", style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent, menu, GetModuleHandleW(nullptr), nullptr);
  if (t_creating == this) t_creating = outer;
  if (!h) {
    if (m_hWnd) Detach();
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::CreateSystem(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect,
                        HWND parent, UINT_PTR id) {
  if (m_hWnd) return FALSE;
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(id) : nullptr;
  HWND h =
      ::CreateWindowExW(exStyle, className, title ? title : L"", style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, menu, GetModuleHandleW(nullptr), nullptr);
  if (!h) return FALSE;
  return SubclassWindow(h);
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (m_hWnd || !hwnd) return FALSE;
  Attach(hwnd);
  m_superProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FxWndProc)));
  return TRUE;
}

void CWnd::EndUse() {
  if (--m_inUse > 0) return;
  // Held while the deferred work runs, since the destroy dispatches messages of its own.
  ++m_inUse;
  if (std::exchange(m_destroyPending, false) && m_hWnd) ::DestroyWindow(m_hWnd);
  --m_inUse;
  if (m_deletePending && m_inUse == 0) delete this;
}

BOOL CWnd::DestroyWindowWhenIdle() {
  if (!m_hWnd) return FALSE;
  if (!m_inUse) return ::DestroyWindow(m_hWnd);
  if (!m_destroyPending) InterlockedIncrement(&g_deferred);
  m_destroyPending = true;
  ::ShowWindow(m_hWnd, SW_HIDE);
  return TRUE;
}

void CWnd::DeleteWhenIdle() {
  if (!m_inUse) {
    delete this;
    return;
  }
  if (!m_deletePending) InterlockedIncrement(&g_deferred);
  m_deletePending = true;
}

long FxDeferredCount() { return g_deferred; }

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

void CWnd::OnFinalRelease() {
  if (m_hWnd) DestroyWindowWhenIdle();
  DeleteWhenIdle();
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HWND child = ReflectionTarget(msg, wParam, lParam)) {
    if (CWnd* target = FromHandlePermanent(child); target && target != this) {
      LRESULT result = 0;
      if (target->OnChildNotify(msg, wParam, lParam, &result)) return result;
    }
  }
  return DefWindowProc(msg, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd) return 0;
  if (m_superProc) return ::CallWindowProcW(m_superProc, m_hWnd, msg, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::Default() {
  CurrentMessage* m = t_current;
  if (!m || m->hwnd != m_hWnd) return 0;
  return DefWindowProc(m->msg, m->wParam, m->lParam);
}

CString CWnd::GetWindowText() const {
  if (!m_hWnd) return CString();
  int n = ::GetWindowTextLengthW(m_hWnd);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  int got = ::GetWindowTextW(m_hWnd, &buf[0], n + 1);
  buf.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return CString(buf);
}

CRect CWnd::GetClientRect() const {
  RECT r = {};
  ::GetClientRect(m_hWnd, &r);
  return CRect(r);
}

CRect CWnd::GetWindowRect() const {
  RECT r = {};
  ::GetWindowRect(m_hWnd, &r);
  return CRect(r);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateSystem(L"EDIT", 0, L"", style, rect, parent ? parent->m_hWnd : nullptr, id);
}

void CEdit::GetSel(int& start, int& end) const {
  DWORD s = 0, e = 0;
  ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
  // Setting the selection it already has would still place the caret again.
  int from = -1, to = -1;
  GetSel(from, to);
  if (from != start || to != end) SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  if (noScroll) return;
  // A caret already in view needs no scroll; the EDIT would only place it again, which
  // costs a trip to the window server and restarts its blink on every keystroke.
  const LRESULT at = SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(end), 0);
  const int x = static_cast<short>(LOWORD(at));
  if (at != -1 && x >= 0 && x < GetClientRect().Width()) return;
  SendMessage(EM_SCROLLCARET, 0, 0);
}

BOOL CMonthCalCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  return CreateSystem(MONTHCAL_CLASSW, exStyle, L"", style, rect, parent, id);
}

BOOL CMonthCalCtrl::SetCurSel(const SYSTEMTIME& st) {
  return static_cast<BOOL>(SendMessage(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st)));
}

BOOL CMonthCalCtrl::GetCurSel(SYSTEMTIME& st) const {
  return static_cast<BOOL>(SendMessage(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st)));
}

BOOL CMonthCalCtrl::SetRange(const SYSTEMTIME& minDate, const SYSTEMTIME& maxDate) {
  SYSTEMTIME range[2] = {minDate, maxDate};
  return static_cast<BOOL>(SendMessage(MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
}

BOOL CMonthCalCtrl::GetMinReqRect(RECT& rect) const {
  return static_cast<BOOL>(SendMessage(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&rect)));
}

BOOL CMonthCalCtrl::SizeMinReq(BOOL repaint) {
  RECT r;
  if (!GetMinReqRect(r)) return FALSE;
  return ::SetWindowPos(m_hWnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

void FxPumpMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}
