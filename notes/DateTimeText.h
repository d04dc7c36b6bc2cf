// The program's date and time text: "dd.mm.yy" in the locale's date order,
// optionally with hours and minutes on the locale's clock.
#pragma once

#include <windows.h>

const size_t kDateTimeTextLength = 64;

// What of the locale the text follows: the date order (LOCALE_ILDATE 0
// month first, 1 day first, else year first) and the clock (LOCALE_ITIME).
struct DateTimeStyle {
    int dateOrder;
    bool twelveHour;
};

// The user's locale as it is now. Each read asks the system (under Wine, the
// registry): a list of many dates reads it once.
DateTimeStyle CurrentDateTimeStyle();

// out holds at least kDateTimeTextLength characters.
void FormatDateTime(const SYSTEMTIME& time, bool withTime, wchar_t* out);
void FormatDateTime(const SYSTEMTIME& time, bool withTime, wchar_t* out, const DateTimeStyle& style);
