// The control's one clock. Every reading of "today" or "now" goes through here, so a test
// or a host can pin the instant (and the time zone) and get reproducible dates.
#pragma once

#include <windows.h>

#include <ctime>

#include "TamveroApi.h"

namespace tamvero {

// Seconds since 1970-01-01 00:00 UTC: the pinned instant, or the real time.
TAMVERO_API __time64_t ClockNow();

// Local calendar time of t. Fails outside 1970 to the end of 3000 (UTC), the range the
// Windows runtime documents; Wine converts further, and results must not depend on that.
TAMVERO_API bool ClockLocalTime(__time64_t t, struct tm& out);

// Local calendar time of ClockNow().
TAMVERO_API bool ClockLocalNow(struct tm& out);

} // namespace tamvero

// Pins the clock to a local instant "YYYYMMDDHHMMSS" (read in the current time zone at the
// moment of the call). Null or "" unpins. Malformed text returns FALSE and changes nothing.
extern "C" TAMVERO_API BOOL TamveroPinClock(const wchar_t* instant);

// Sets the runtime's time zone from a TZ text such as "UTC0" or "JST-9". Null or "" restores
// the zone the process started with. Wine honours the offset but applies no daylight-saving
// rules to a TZ zone, so pinned tests use zones without them.
extern "C" TAMVERO_API BOOL TamveroSetTimeZone(const wchar_t* tz);
