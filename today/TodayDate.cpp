#include "today/TodayDate.h"

#include "platform/common/Text.h"
#include "today/TodayConstants.h"

#include <wchar.h>

namespace {

void TwoDigits(int value, wchar_t* out)
{
    FormatText(out, 8, value < 10 ? L"0%d" : L"%d", value);
}

}  // namespace

void FormatTodayDate(const SYSTEMTIME& expiry, wchar_t* out, size_t count)
{
    if (out == nullptr || count == 0)
        return;
    out[0] = L'\0';
    if (expiry.wHour == kNoExpiryHour)
        return;
    wchar_t year[8], month[8], day[8], minute[8];
    TwoDigits(expiry.wYear % 100, year);
    TwoDigits(expiry.wMonth, month);
    TwoDigits(expiry.wDay, day);
    TwoDigits(expiry.wMinute, minute);

    wchar_t order[5] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILDATE, order, 5);
    wchar_t date[32];
    if (wcscmp(order, L"0") == 0)
        FormatText(date, 32, L"%s.%s.%s", month, day, year);
    else if (wcscmp(order, L"1") == 0)
        FormatText(date, 32, L"%s.%s.%s", day, month, year);
    else
        FormatText(date, 32, L"%s.%s.%s", year, month, day);

    wchar_t clock[5] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ITIME, clock, 5);
    int hour = expiry.wHour;
    if (wcscmp(clock, L"0") == 0) {
        if (hour == 0)
            FormatText(out, count, L"%s, 12:%s AM", date, minute);
        else if (hour == 12)
            FormatText(out, count, L"%s, 12:%s PM", date, minute);
        else if (hour < 12)
            FormatText(out, count, L"%s, %d:%s AM", date, hour, minute);
        else
            FormatText(out, count, L"%s, %d:%s PM", date, hour - 12, minute);
    } else {
        FormatText(out, count, L"%s, %d:%s", date, hour, minute);
    }
}
