// The program's one way to read the clock: local time, as the handheld
// keeps it. Tests put a clock of their own in its place.
#pragma once

#include <windows.h>

typedef void (*ClockFunction)(SYSTEMTIME* now);

void GetNow(SYSTEMTIME* now);
// Replaces the clock; nullptr restores the real one (GetLocalTime).
void SetClock(ClockFunction clock);
