// Temporary: the clock until the date library lands.
#pragma once
#include <ctime>
#include <windows.h>
namespace tamvero {
__time64_t ClockNow();
bool ClockLocalTime(__time64_t t, struct tm& out);
} // namespace tamvero
