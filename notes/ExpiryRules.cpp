#include "notes/ExpiryRules.h"

#include "platform/common/Text.h"
#include "notes/Clock.h"
#include "notes/DateTimeText.h"
#include "resources/resource.h"

namespace {

bool IsLeapYear(unsigned year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

WORD DaysInMonth(WORD month, WORD year)
{
    switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
        return 31;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 30;
    }
}

ULONGLONG Ticks(const SYSTEMTIME& time)
{
    FILETIME file = {};
    SystemTimeToFileTime(&time, &file);
    return ULONGLONG(file.dwHighDateTime) << 32 | file.dwLowDateTime;
}

}  // namespace

bool IsAlarmTime(const SYSTEMTIME& time)
{
    FILETIME file;
    return !NeverExpires(time) && SystemTimeToFileTime(&time, &file) != FALSE;
}

ULONGLONG TimeKey(const SYSTEMTIME& time)
{
    FILETIME file = {};
    SystemTimeToFileTime(&time, &file);
    return (ULONGLONG(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    FILETIME fa = {}, fb = {};
    SystemTimeToFileTime(&a, &fa);
    SystemTimeToFileTime(&b, &fb);
    return CompareFileTime(&fa, &fb);
}

void AddTimeOffset(SYSTEMTIME* time, const SYSTEMTIME& offset)
{
    time->wDay = WORD(time->wDay + offset.wDay);
    time->wMonth = WORD(time->wMonth + offset.wMonth);
    time->wYear = WORD(time->wYear + offset.wYear);
    time->wHour = WORD(time->wHour + offset.wHour);
    time->wMinute = WORD(time->wMinute + offset.wMinute);
    time->wSecond = WORD(time->wSecond + offset.wSecond);

    if (time->wSecond >= 60) {
        time->wSecond %= 60;
        time->wMinute++;
    }
    if (time->wMinute >= 60) {
        time->wMinute %= 60;
        time->wHour++;
    }
    if (time->wHour >= 24) {
        time->wHour %= 24;
        time->wDay++;
    }
    WORD days = DaysInMonth(time->wMonth, time->wYear);
    if (time->wDay > days) {
        time->wDay %= days;
        time->wMonth++;
    }
    if (time->wMonth > 12) {
        time->wMonth %= 12;
        time->wYear++;
    }
}

bool ExpiryChoiceOffset(int command, SYSTEMTIME* offset)
{
    *offset = SYSTEMTIME();
    switch (command) {
    case kCmdExpiryNever: offset->wHour = kNeverExpiresHour; break;
    case kCmdExpiry10Minutes: offset->wMinute = 10; break;
    case kCmdExpiry15Minutes: offset->wMinute = 15; break;
    case kCmdExpiry30Minutes: offset->wMinute = 30; break;
    case kCmdExpiry1Hour: offset->wHour = 1; break;
    case kCmdExpiry2Hours: offset->wHour = 2; break;
    case kCmdExpiryTomorrow: offset->wDay = 1; break;
    case kCmdExpiryNextWeek: offset->wDay = 7; break;
    default: return false;
    }
    return true;
}

bool ApplyExpiryChoiceTo(int command, SYSTEMTIME* expiry)
{
    SYSTEMTIME offset;
    if (!ExpiryChoiceOffset(command, &offset))
        return false;
    if (offset.wHour == kNeverExpiresHour) {
        expiry->wHour = kNeverExpiresHour;
        return true;
    }
    GetNow(expiry);
    AddTimeOffset(expiry, offset);
    return true;
}

bool SnoozeTo(int command, SYSTEMTIME* expiry)
{
    SYSTEMTIME offset = {};
    switch (command) {
    case IDM_SNOOZE_5_MINUTES: offset.wMinute = 5; break;
    case IDM_SNOOZE_15_MINUTES: offset.wMinute = 15; break;
    case IDM_SNOOZE_1_HOUR: offset.wHour = 1; break;
    case IDM_SNOOZE_TOMORROW: offset.wDay = 1; break;
    default: return false;
    }
    GetNow(expiry);
    AddTimeOffset(expiry, offset);
    return true;
}

void ExpiryStatusText(const SYSTEMTIME& expiry, bool storedNote, bool expiredFlag, wchar_t* out, size_t count)
{
    if (storedNote && expiredFlag) {
        CopyText(out, count, L"Jotling is expired");
        return;
    }
    if (NeverExpires(expiry)) {
        CopyText(out, count, L"Never expire");
        return;
    }
    wchar_t when[kDateTimeTextLength];
    SYSTEMTIME now;
    GetNow(&now);
    if (CompareTimes(now, expiry) == 1) {
        FormatDateTime(expiry, true, when);
        FormatText(out, count, L"Expire at : %s", when);
        return;
    }
    SYSTEMTIME dayAhead = now;
    SYSTEMTIME oneDay = {};
    oneDay.wDay = 1;
    AddTimeOffset(&dayAhead, oneDay);
    if (CompareTimes(dayAhead, expiry) != 1) {
        FormatDateTime(expiry, true, when);
        FormatText(out, count, L"Expire at : %s", when);
        return;
    }

    // The clock is read again for the remaining time; if the expiry passed
    // in between, nothing is left rather than a negative time.
    GetNow(&now);
    ULONGLONG expiryTicks = Ticks(expiry), nowTicks = Ticks(now);
    ULONGLONG remaining = expiryTicks > nowTicks ? expiryTicks - nowTicks : 0;
    ULONGLONG totalMinutes = remaining / (10000000ULL * 60);
    int hours = int(totalMinutes / 60);
    int minutes = int(totalMinutes % 60);
    if (hours > 0 && minutes > 9)
        FormatText(out, count, L"Expire after %d %s %d m", hours, L"h", minutes);
    else if (hours > 0 && minutes > 0)
        FormatText(out, count, L"Expire after %d %s 0%d m", hours, L"h", minutes);
    else if (hours > 0)
        FormatText(out, count, L"Expire after %d %s", hours, L"h");
    else
        FormatText(out, count, L"Expire after %d minutes", minutes);
}
