#include "tests/support/TestTimes.h"

#include "notes/ExpiryRules.h"

namespace {

const LONGLONG kTicksPerMinute = 60LL * 10000000;

SYSTEMTIME NowMovedBy(LONGLONG ticks)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER value = {{file.dwLowDateTime, file.dwHighDateTime}};
    value.QuadPart += ticks;
    file = {value.LowPart, value.HighPart};
    SYSTEMTIME moved;
    FileTimeToSystemTime(&file, &moved);
    return moved;
}

}  // namespace

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds)
{
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, milliseconds};
}

SYSTEMTIME Expiry(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds)
{
    SYSTEMTIME time = Time(year, month, day, hour, minute, second, milliseconds);
    FILETIME ticks;
    SystemTimeToFileTime(&time, &ticks);
    FileTimeToSystemTime(&ticks, &time);
    return time;
}

SYSTEMTIME MinutesFromNow(int minutes)
{
    return NowMovedBy(minutes * kTicksPerMinute);
}

SYSTEMTIME DaysFromNow(int days, WORD hour, WORD minute)
{
    SYSTEMTIME day = NowMovedBy(days * 24 * 60 * kTicksPerMinute);
    day.wHour = hour;
    day.wMinute = minute;
    day.wSecond = day.wMilliseconds = 0;
    return day;
}

SYSTEMTIME NeverExpiring()
{
    SYSTEMTIME never = {};
    never.wHour = kNeverExpiresHour;
    return never;
}
