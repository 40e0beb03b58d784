#include "Clock.h"

#include <oleauto.h>

#include <cstdlib>
#include <cwchar>

#include "DateMath.h"
#include "fxstring.h"

namespace {

// The last second the Windows runtime converts: 3000-12-31 23:59:59 UTC.
constexpr __time64_t kLastConvertible = 32535215999LL;

// All UI-thread state, like the rest of the control's module state.
bool g_pinned = false;
__time64_t g_pinnedAt = 0;

bool g_zoneSaved = false;
bool g_hadZone = false;
CString g_originalZone;

bool IsDigitRun(const wchar_t* text, int count) {
  for (int i = 0; i < count; ++i)
    if (text[i] < L'0' || text[i] > L'9') return false;
  return true;
}

} // namespace

namespace tamvero {

__time64_t ClockNow() { return g_pinned ? g_pinnedAt : _time64(nullptr); }

bool ClockLocalTime(__time64_t t, struct tm& out) {
  if (t < 0 || t > kLastConvertible) return false;
  return _localtime64_s(&out, &t) == 0;
}

bool ClockLocalNow(struct tm& out) { return ClockLocalTime(ClockNow(), out); }

} // namespace tamvero

extern "C" BOOL TamveroPinClock(const wchar_t* instant) {
  if (!instant || !*instant) {
    g_pinned = false;
    return TRUE;
  }
  if (wcslen(instant) != 14 || !IsDigitRun(instant, 14)) return FALSE;
  CString text(instant);
  struct tm local = {};
  int year = ReadDecimal(text.Mid(0, 4));
  local.tm_mon = ReadDecimal(text.Mid(4, 2)) - 1;
  local.tm_mday = ReadDecimal(text.Mid(6, 2));
  local.tm_hour = ReadDecimal(text.Mid(8, 2));
  local.tm_min = ReadDecimal(text.Mid(10, 2));
  local.tm_sec = ReadDecimal(text.Mid(12, 2));
  // _mktime64 would quietly roll 31 February over; a pin must name a real instant.
  if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 ||
      local.tm_mday > tamvero::DaysInMonth(year, local.tm_mon + 1) || local.tm_hour > 23 || local.tm_min > 59 ||
      local.tm_sec > 59)
    return FALSE;
  local.tm_year = year - 1900;
  local.tm_isdst = -1;
  __time64_t t = _mktime64(&local);
  if (t == -1) return FALSE;
  g_pinnedAt = t;
  g_pinned = true;
  return TRUE;
}

extern "C" BOOL TamveroSetTimeZone(const wchar_t* tz) {
  if (!g_zoneSaved) {
    const wchar_t* original = _wgetenv(L"TZ");
    g_hadZone = original != nullptr;
    g_originalZone = original;
    g_zoneSaved = true;
  }
  const wchar_t* zone = (tz && *tz) ? tz : (g_hadZone ? g_originalZone.GetString() : L"");
  // An empty value removes TZ, which sends the runtime back to the system's zone.
  if (_wputenv_s(L"TZ", zone) != 0) return FALSE;
  _tzset();
  return TRUE;
}
