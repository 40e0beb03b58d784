// The control's side of the drop-down: creating it, opening it below the field, closing
// it, and passing dates between it and the field.
#include "CalendarAccessible.h"
#include "CalendarCtl.h"
#include "Formats.h"

#include "CalendarWnd.h"
#include "Clock.h"
#include "Lumadex.h"
#include "Module.h"

#include <algorithm>
#include <utility>

namespace {
// The popup and border window styles.
const DWORD kDropDownStyle = WS_POPUP | WS_BORDER;
} // namespace

CWnd* CCalendarCtl::GetCalendarWndPtr() const { return CalendarWnd; }

void CCalendarCtl::CreateCalendarWnd() {
  if (CalendarWnd || !tamvero::IsDateStyle(Style)) return;
  CalendarWnd = new CCalendarWnd;
  // The calendar's notifications run the control's handlers: the control stays whole
  // until they return.
  CalendarWnd->SetLifeOwner(this);
  if (CalendarWnd->CreateEx(0, kDropDownStyle, CRect(), m_hWnd, 0)) {
    if (CFontManager* fonts = FontManager()) {
      CFont* font = fonts->GetFont(FontIndex, std::min(ScaleX, ScaleY), FALSE);
      CalendarWnd->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? static_cast<HFONT>(*font) : nullptr), TRUE);
    }
    // The popup draws its own frame; a second one inside would be one too many.
    CalendarWnd->SendMessage(MCM_SETCALENDARBORDER, TRUE, 0);
    CRect r;
    if (CalendarWnd->GetMinReqRect(r)) ::MoveWindow(CalendarWnd->m_hWnd, r.left, r.top, r.Width(), r.Height(), TRUE);
  }
  CalendarWnd->OwnerCtl = this;
  SetDateRange();
}

LRESULT CCalendarCtl::OnShowCarendar(WPARAM, LPARAM) {
  if (!CalendarWnd) CreateCalendarWnd();
  if (!CalendarWnd || !CalendarWnd->m_hWnd) return 0;
  HWND drop = CalendarWnd->m_hWnd;

  CalendarSelChanged = FALSE;
  // The calendar marks the control's today, which a host may have pinned.
  struct tm now = {};
  if (tamvero::ClockLocalNow(now)) {
    SYSTEMTIME today = {static_cast<WORD>(now.tm_year + 1900),
                        static_cast<WORD>(now.tm_mon + 1),
                        0,
                        static_cast<WORD>(now.tm_mday),
                        0,
                        0,
                        0,
                        0};
    CalendarWnd->SendMessage(MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&today));
  }
  SetDateToCalendarWnd();
  // The keyboard watcher may have hidden and disabled it without the control's close.
  if (!CalendarVisible || !::IsWindowVisible(drop)) {
    ::EnableWindow(drop, TRUE);
    CRect self = GetWindowRect();
    int x = self.left, y = self.bottom - 1;
    ::SetWindowPos(drop, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    // Keep it inside the main window on the right; nothing is done at the bottom.
    int mainWidth = JTLink_GetMainWindowSize().cx;
    int width = CalendarWnd->GetClientRect().Width();
    if (mainWidth != 0 && x + width > mainWidth)
      ::SetWindowPos(drop, HWND_TOPMOST, mainWidth - width, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  }

  BOOL shown = ::IsWindowVisible(drop);
  if (shown)
    MarkCalendarShown(this, CalendarWnd);
  else
    MarkCalendarHidden(this, CalendarWnd);
  SendToMainIsShowList(shown);
  InvalidateRect(&ButtonRect, TRUE);
  tamvero::AnnounceExpanded(*this, TRUE);
  return 1;
}

void CCalendarCtl::HideCalendarWnd() {
  if (!CalendarWnd || !CalendarWnd->m_hWnd) return;
  if (CalendarVisible || CalendarWnd->IsWindowVisible()) CalendarWnd->ShowWindow(SW_HIDE);
  MarkCalendarHidden(this, CalendarWnd);
  if (m_hWnd) InvalidateRect(&ButtonRect, TRUE);
  tamvero::AnnounceExpanded(*this, FALSE);
}

void CCalendarCtl::DeleteCalendarWnd() {
  if (!CalendarWnd) return;
  CCalendarWnd* wnd = std::exchange(CalendarWnd, nullptr);
  tamvero::AnnounceExpanded(*this, FALSE);
  MarkCalendarHidden(this, wnd);
  wnd->Retire();
}

LRESULT CCalendarCtl::OnHideCarendar(WPARAM, LPARAM) {
  if (!CalendarWnd || !CalendarWnd->m_hWnd) return 0;
  HideCalendarWnd();
  SendToMainIsShowList(FALSE);
  SetFocus();
  // Browsing without a pick still counts as a pick once the drop-down closes, once.
  if (CalendarSelChanged) {
    CalendarSelChanged = FALSE;
    SendMessage(WM_CALENDAR_EVENT, CODE_DAY_PICKED, 0);
  }
  return 1;
}

LRESULT CCalendarCtl::OnControlListBoxShow(WPARAM, LPARAM) {
  SendMessage(WM_CALENDAR_HIDE, 0, 0);
  return 0;
}

void CCalendarCtl::SendToMainIsShowList(BOOL bShow) {
  if (!RunForm) return;
  CWnd* frame = RunForm->GetChildFrameWndToForm();
  if (!frame || !frame->m_hWnd) return;
  ::SendMessageW(frame->m_hWnd, WM_LISTBOX_SHOW, bShow ? 1 : 0, reinterpret_cast<LPARAM>(m_hWnd));
}

void CCalendarCtl::SetDateToCalendarWnd() {
  if (tamvero::IsTimeStyle(Style)) return;
  int year = 0, month = 0, day = 0;
  if (IsInputDigit(Caption, static_cast<short>(Caption.GetLength())) && Caption.GetLength() == DigitCount &&
      GetCurInputDate(year, month, day)) {
    if (CalendarWnd && CalendarWnd->m_hWnd) {
      SYSTEMTIME st = {};
      st.wYear = static_cast<WORD>(year);
      st.wMonth = static_cast<WORD>(month);
      st.wDay = static_cast<WORD>(day);
      CalendarWnd->SetCurSel(st);
    }
    return;
  }
  // An empty or incomplete field takes the calendar's day, or today.
  GetCurSelectedDate(year, month, day);
  DisplayDate(year, month, day);
}

BOOL CCalendarCtl::GetCurSelectedDate(int& year, int& month, int& day) {
  if (tamvero::IsTimeStyle(Style)) return FALSE;
  if (CalendarWnd && CalendarWnd->m_hWnd) {
    SYSTEMTIME st = {};
    CalendarWnd->GetCurSel(st);
    year = st.wYear;
    month = st.wMonth;
    day = st.wDay;
    return TRUE;
  }
  struct tm now = {};
  tamvero::ClockLocalTime(tamvero::ClockNow(), now);
  year = now.tm_year + 1900;
  month = now.tm_mon + 1;
  day = now.tm_mday;
  return FALSE;
}
