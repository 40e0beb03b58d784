// The drop-down's own window: the calendar's notifications turned into the field's value
// and the control's events, its frame, and the per-thread watchers that close it.
#include "CalendarWnd.h"

#include "CalendarCtl.h"
#include "Tondril.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

// The calendar's own timer that refreshes "today"; the drop-down lives too briefly for it.
const UINT_PTR kTodayTimer = 2;

// Shared by every control of the process: the drop-down opened last and its control
// (both null when none is open), and each thread's watchers.
CCalendarWnd* OpenCalendarWnd = nullptr;
CCalendarCtl* OpenCalendarCtl = nullptr;
std::map<DWORD, CalendarHookRecord> CalendarHookMap;

// Drop-downs retired inside their own notification, and the thread timer that deletes
// them from the message loop, after the calendar's window procedure has returned.
std::vector<CCalendarWnd*> RetiredCalendars;
CWindowTimer RetiredSweepTimer;

void CALLBACK SweepRetiredCalendars(HWND, UINT, UINT_PTR, DWORD) { DeleteRetiredCalendars(); }

CalendarHookRecord* ThreadHookRecord() {
  auto it = CalendarHookMap.find(::GetCurrentThreadId());
  return it == CalendarHookMap.end() ? nullptr : &it->second;
}

LRESULT CALLBACK CalendarKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CalendarMouseProc(int nCode, WPARAM wParam, LPARAM lParam);

// The current thread's watchers, installed unless it has them; null when the system
// refuses them.
CalendarHookRecord* InstallCalendarHooks() {
  if (CalendarHookRecord* rec = ThreadHookRecord()) return rec;
  DWORD thread = ::GetCurrentThreadId();
  CHookHandle keyboard(::SetWindowsHookExW(WH_KEYBOARD, CalendarKeyboardProc, nullptr, thread));
  CHookHandle mouse(::SetWindowsHookExW(WH_MOUSE, CalendarMouseProc, nullptr, thread));
  if (!keyboard || !mouse) return nullptr;
  CalendarHookRecord& rec = CalendarHookMap[thread];
  rec.KeyboardHook = std::move(keyboard);
  rec.MouseHook = std::move(mouse);
  return &rec;
}

bool SameDay(const CCalendarWnd& w, const SYSTEMTIME& st) {
  return w.LastSelYear == st.wYear && w.LastSelMonth == st.wMonth && w.LastSelDay == st.wDay;
}

// The day a notification reported, remembered when its handling ends, however it ends.
struct Remember {
  CCalendarWnd& wnd;
  const SYSTEMTIME& day;
  ~Remember() {
    wnd.LastSelYear = day.wYear;
    wnd.LastSelMonth = day.wMonth;
    wnd.LastSelDay = day.wDay;
  }
};

// The drop-down that the watchers act on, when it is on screen.
bool OpenAndShown(const CalendarHookRecord* rec) {
  return rec->CtlHwnd && OpenCalendarWnd && OpenCalendarWnd->m_hWnd && OpenCalendarWnd->IsWindowVisible();
}

void InvalidateOpenCtl() {
  if (OpenCalendarCtl && OpenCalendarCtl->m_hWnd) OpenCalendarCtl->Invalidate(TRUE);
}

} // namespace

// ---- the window ---------------------------------------------------------------------------

CCalendarWnd::~CCalendarWnd() {
  if (m_hWnd) DestroyWindow();
}

LRESULT CCalendarWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_NCPAINT:
    OnNcPaint();
    return 0;
  case WM_TIMER:
    if (wParam == kTodayTimer) return 0;
    return Default();
  case WM_DESTROY:
    // A drop-down that goes while open takes its watchers and the record with it.
    MarkCalendarHidden(OwnerCtl, this);
    return Default();
  default:
    return CMonthCalCtrl::WindowProc(msg, wParam, lParam);
  }
}

void CCalendarWnd::OnNcPaint() {
  Default();
  if (!::IsWindowEnabled(m_hWnd)) return;
  CWindowDC dc(m_hWnd);
  if (!dc.GetSafeHdc()) return;
  CRect wr = GetWindowRect();
  COLORREF c = CColorMgr::getInstance()->GetColor(CColorMgr::CI_DROPDOWN_FRAME, 0);
  dc.Draw3dRect(CRect(0, 0, wr.Width(), wr.Height()), c, c);
}

void CCalendarWnd::Retire() {
  OwnerCtl = nullptr;
  // Its messages no longer hold the control, which may go before it.
  SetLifeOwner(this);
  if (!IsNotifying()) {
    delete this;
    return;
  }
  if (m_hWnd) ShowWindow(SW_HIDE);
  RetiredCalendars.push_back(this);
  if (!RetiredSweepTimer.IsSet()) RetiredSweepTimer.Set(nullptr, 0, 0, SweepRetiredCalendars);
}

void DeleteRetiredCalendars() {
  RetiredSweepTimer.Kill();
  // A drop-down still notifying (a sweep from inside its own handler) waits for the next.
  std::vector<CCalendarWnd*> waiting;
  for (CCalendarWnd* wnd : std::exchange(RetiredCalendars, {})) {
    if (wnd->IsNotifying())
      waiting.push_back(wnd);
    else
      delete wnd;
  }
  RetiredCalendars = std::move(waiting);
  if (!RetiredCalendars.empty()) RetiredSweepTimer.Set(nullptr, 0, 0, SweepRetiredCalendars);
}

BOOL CCalendarWnd::OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
  if (msg != WM_NOTIFY) return FALSE;
  const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
  // Handlers run inside these: they may restyle or destroy the control, which retires
  // this drop-down; it stays alive until the calendar is out of its notification.
  struct Notifying {
    int& depth;
    explicit Notifying(int& d) : depth(++d) {}
    ~Notifying() { --depth; }
  } notifying(m_notifying);
  switch (hdr->code) {
  case MCN_SELCHANGE:
    OnSelChange(reinterpret_cast<const NMSELCHANGE*>(lParam)->stSelStart);
    break;
  case MCN_SELECT:
    OnSelect(reinterpret_cast<const NMSELCHANGE*>(lParam)->stSelStart);
    break;
  case MCN_GETDAYSTATE:
    // The day states stay as the calendar passes them.
    break;
  default:
    return FALSE;
  }
  *pResult = 0;
  return TRUE;
}

// Every step below may run a host's handler, which may take the control away from this
// drop-down (OwnerCtl then null): each step checks before it goes on.
void CCalendarWnd::OnSelChange(const SYSTEMTIME& start) {
  if (!OwnerCtl || !OwnerCtl->m_hWnd || !OwnerCtl->IsRunMode()) return;
  // The calendar reports the same day again while the user only browses months.
  if (SameDay(*this, start)) return;
  Remember remember{*this, start};
  int year = start.wYear, month = start.wMonth, day = start.wDay;
  OwnerCtl->DisplayDate(year, month, day);
  if (!OwnerCtl) return;
  OwnerCtl->SetCalendarSelchange(TRUE);
  OwnerCtl->SendMessage(WM_CALENDAR_EVENT, CODE_SEL_CHANGED, 0);
}

void CCalendarWnd::OnSelect(const SYSTEMTIME& start) {
  if (!OwnerCtl || !OwnerCtl->m_hWnd) return;
  Remember remember{*this, start};
  // Emptied first, so that the picked day always counts as a change of the value.
  OwnerCtl->SendMessage(WM_CALENDAR_CAPTION, reinterpret_cast<WPARAM>(L""), 0);
  if (!OwnerCtl) return;
  int year = start.wYear, month = start.wMonth, day = start.wDay;
  OwnerCtl->DisplayDate(year, month, day);
  if (!OwnerCtl) return;
  OwnerCtl->SetCalendarSelchange(FALSE);
  OwnerCtl->SendMessage(WM_CALENDAR_HIDE, 0, 0);
  if (!OwnerCtl) return;
  OwnerCtl->SendMessage(WM_CALENDAR_EVENT, CODE_DAY_PICKED, 0);
}

// ---- the watchers ---------------------------------------------------------------------------

const CalendarHookRecord* FindCalendarHookRecord() { return ThreadHookRecord(); }

CCalendarWnd* GetOpenCalendarWnd() { return OpenCalendarWnd; }
CCalendarCtl* GetOpenCalendarCtl() { return OpenCalendarCtl; }

void MarkCalendarShown(CCalendarCtl* ctl, CCalendarWnd* wnd) {
  if (CalendarHookRecord* rec = InstallCalendarHooks()) {
    rec->CtlHwnd = ctl->m_hWnd;
    rec->CalendarHwnd = wnd->m_hWnd;
  }
  OpenCalendarWnd = wnd;
  OpenCalendarCtl = ctl;
}

void MarkCalendarHidden(const CCalendarCtl* ctl, const CCalendarWnd* wnd) {
  if (OpenCalendarCtl && OpenCalendarCtl != ctl && OpenCalendarWnd != wnd) return;
  OpenCalendarWnd = nullptr;
  OpenCalendarCtl = nullptr;
  CalendarHookMap.erase(::GetCurrentThreadId());
}

namespace {
LRESULT CALLBACK CalendarKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CalendarHookRecord* rec = ThreadHookRecord();
  if (!rec) return 0;
  HHOOK hook = rec->KeyboardHook.Get();
  if (nCode < 0 || nCode == HC_NOREMOVE) return ::CallNextHookEx(hook, nCode, wParam, lParam);

  CCalendarWnd* open = OpenCalendarWnd;
  bool keyDown = (lParam & 0x80000000) == 0;
  bool controlTab = wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0;
  bool escape = keyDown && wParam == VK_ESCAPE;
  bool enter = keyDown && wParam == VK_RETURN;
  if ((controlTab || escape || enter) && OpenAndShown(rec)) {
    // The field's own close follows when the key reaches it; here it only has to vanish.
    if (!enter) ::EnableWindow(open->m_hWnd, FALSE);
    open->ShowWindow(SW_HIDE);
    InvalidateOpenCtl();
    // While the calendar itself holds the focus the key never reaches the field: close
    // through the control, after the key, so the focus goes back to the field.
    CCalendarCtl* ctl = OpenCalendarCtl;
    if (ctl && ::GetFocus() != ctl->Edit.m_hWnd) ::PostMessageW(rec->CtlHwnd, WM_CALENDAR_HIDE, 0, 0);
  }
  return ::CallNextHookEx(hook, nCode, wParam, lParam);
}

LRESULT CALLBACK CalendarMouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CalendarHookRecord* rec = ThreadHookRecord();
  // The close below may remove the record: keep what the chain needs.
  HHOOK hook = rec ? rec->MouseHook.Get() : nullptr;
  if (!rec || nCode < 0 || nCode == HC_NOREMOVE) return ::CallNextHookEx(hook, nCode, wParam, lParam);
  HWND target = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->hwnd;
  if (target == rec->CalendarHwnd || (rec->CalendarHwnd && ::IsChild(rec->CalendarHwnd, target)))
    return ::CallNextHookEx(hook, nCode, wParam, lParam);

  switch (wParam) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_NCLBUTTONDOWN:
  case WM_NCACTIVATE:
  case WM_NCHITTEST: {
    bool outside = true;
    if (target == rec->CtlHwnd) {
      // The button strip at the right belongs to the control's own press handling.
      RECT wr = {};
      ::GetWindowRect(rec->CtlHwnd, &wr);
      wr.right -= ::GetSystemMetrics(SM_CXHSCROLL);
      POINT cursor = {};
      ::GetCursorPos(&cursor);
      outside = ::PtInRect(&wr, cursor) != FALSE;
    }
    if (outside && OpenAndShown(rec)) {
      CCalendarCtl* ctl = OpenCalendarCtl;
      if (ctl && ctl->m_hWnd) {
        HWND ctlHwnd = ctl->m_hWnd;
        ::SendMessageW(ctlHwnd, WM_CALENDAR_HIDE, 0, 0);
        ::InvalidateRect(ctlHwnd, nullptr, TRUE);
      }
    }
    break;
  }
  default:
    break;
  }
  return ::CallNextHookEx(hook, nCode, wParam, lParam);
}

} // namespace
