#include "desktop/export/ExpiryText.h"

#include <stdio.h>

namespace exporter {

namespace {

std::string TwoDigits(unsigned v)
{
    char text[16];
    snprintf(text, sizeof text, v < 10 ? "0%u" : "%u", v);
    return text;
}

int DaysIn(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool NeverExpires(const formats::NoteTime& t)
{
    return t.hour == formats::kNeverExpiresHour;
}

bool IsValidTime(const formats::NoteTime& t)
{
    // SystemTimeToFileTime's range: years 1601 to 30827.
    return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysIn(t.year, t.month) && t.hour < 24 && t.minute < 60 && t.second < 60 &&
           t.milliseconds < 1000;
}

std::string FormatDateTime(const formats::NoteTime& t, bool withTime, const DateStyle& style)
{
    std::string year = TwoDigits(t.year % 100);
    std::string month = TwoDigits(t.month);
    std::string day = TwoDigits(t.day);
    std::string date = style.dateOrder == 0   ? month + "." + day + "." + year
                       : style.dateOrder == 1 ? day + "." + month + "." + year
                                              : year + "." + month + "." + day;
    if (!withTime)
        return date;
    std::string minute = TwoDigits(t.minute);
    if (style.clock24)
        return date + ", " + TwoDigits(t.hour) + ":" + minute;
    if (t.hour == 0)
        return date + ", 12:" + minute + " AM";
    unsigned hour = t.hour > 12 ? t.hour - 12u : t.hour;
    return date + ", " + TwoDigits(hour) + ":" + minute + (t.hour >= 12 ? " PM" : " AM");
}

std::string ExpiryWords(const formats::NoteTime& t, const DateStyle& style)
{
    return NeverExpires(t) ? "Never expire" : FormatDateTime(t, true, style);
}

std::string IsoTime(const formats::NoteTime& t)
{
    if (NeverExpires(t) || !IsValidTime(t))
        return std::string();
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", t.year, t.month, t.day, t.hour,
             t.minute, t.second);
    return text;
}

long long TimeKey(const formats::NoteTime& t)
{
    if (!IsValidTime(t))
        return 0;
    long long y = t.year - 1;
    long long days = 365 * y + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < t.month; ++m)
        days += DaysIn(t.year, m);
    days += t.day - 1;
    return (((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
}

}  // namespace exporter
