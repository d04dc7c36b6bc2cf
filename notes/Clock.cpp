#include "notes/Clock.h"

namespace {
ClockFunction g_clock = GetLocalTime;
}

void GetNow(SYSTEMTIME* now)
{
    g_clock(now);
}

void SetClock(ClockFunction clock)
{
    g_clock = clock != nullptr ? clock : GetLocalTime;
}
