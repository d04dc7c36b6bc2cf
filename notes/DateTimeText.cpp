#include "notes/DateTimeText.h"

#include "platform/common/Text.h"

namespace {

// Two digits, with a leading zero below 10.
void TwoDigits(unsigned value, wchar_t* out, size_t count)
{
    FormatText(out, count, value < 10 ? L"0%u" : L"%u", value);
}

void ReadLocale(LCTYPE what, wchar_t* out)
{
    out[0] = L'\0';
    GetLocaleInfoW(LOCALE_USER_DEFAULT, what, out, 5);
}

}  // namespace

// A one-character setting as a number; -1 for anything else.
static int ReadDigitSetting(LCTYPE what)
{
    wchar_t setting[5];
    ReadLocale(what, setting);
    return setting[0] >= L'0' && setting[0] <= L'9' && setting[1] == L'\0' ? setting[0] - L'0' : -1;
}

DateTimeStyle CurrentDateTimeStyle()
{
    return {ReadDigitSetting(LOCALE_ILDATE), ReadDigitSetting(LOCALE_ITIME) == 0};
}

void FormatDateTime(const SYSTEMTIME& time, bool withTime, wchar_t* out)
{
    FormatDateTime(time, withTime, out, CurrentDateTimeStyle());
}

void FormatDateTime(const SYSTEMTIME& time, bool withTime, wchar_t* out, const DateTimeStyle& style)
{
    wchar_t year[8], month[8], day[8];
    TwoDigits(time.wYear % 100, year, 8);
    TwoDigits(time.wMonth, month, 8);
    TwoDigits(time.wDay, day, 8);

    wchar_t date[32];
    if (style.dateOrder == 0)
        FormatText(date, 32, L"%s.%s.%s", month, day, year);
    else if (style.dateOrder == 1)
        FormatText(date, 32, L"%s.%s.%s", day, month, year);
    else
        FormatText(date, 32, L"%s.%s.%s", year, month, day);

    if (!withTime) {
        CopyText(out, kDateTimeTextLength, date);
        return;
    }

    bool twelveHour = style.twelveHour;
    unsigned hourValue = time.wHour;
    if (twelveHour && hourValue > 12)
        hourValue -= 12;
    wchar_t hour[8], minute[8];
    TwoDigits(hourValue, hour, 8);
    TwoDigits(time.wMinute, minute, 8);

    if (!twelveHour)
        FormatText(out, kDateTimeTextLength, L"%s, %s:%s", date, hour, minute);
    else if (time.wHour == 0)
        FormatText(out, kDateTimeTextLength, L"%s, 12:%s AM", date, minute);
    else if (time.wHour >= 12)
        FormatText(out, kDateTimeTextLength, L"%s, %s:%s PM", date, hour, minute);
    else
        FormatText(out, kDateTimeTextLength, L"%s, %s:%s AM", date, hour, minute);
}
