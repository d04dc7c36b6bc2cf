#include "desktop/export/DeviceTimeZone.h"

#include "desktop/export/DeviceSettings.h"

#include <stdlib.h>
#include <time.h>

#include <vector>

namespace exporter {

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Minutes since the year's start of the transition's moment in that year.
long long TransitionMinute(int year, const DeviceTimeZone::Transition& t)
{
    long long first = DaysFromCivil(year, t.month, 1);
    int firstDow = static_cast<int>(((first % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    int day = 1 + (t.dayOfWeek - firstDow + 7) % 7 + (t.week - 1) * 7;
    while (day > DaysInMonth(year, t.month))
        day -= 7;
    return (DaysFromCivil(year, t.month, day) - DaysFromCivil(year, 1, 1)) * 1440 + t.hour * 60 +
           t.minute;
}

long long LocalMinuteOfYear(const formats::NoteTime& t)
{
    return (DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(t.year, 1, 1)) * 1440 +
           t.hour * 60 + t.minute;
}

bool ReadDword(const std::string& reg, const char* name, int* value)
{
    std::string raw;
    if (!FindRegistryValue(reg, "System\\CurrentControlSet\\Control\\TimeZoneInformation", name, &raw) ||
        raw.compare(0, 6, "dword:") != 0)
        return false;
    *value = static_cast<int>(static_cast<uint32_t>(strtoul(raw.c_str() + 6, nullptr, 16)));
    return true;
}

// A SYSTEMTIME written as "hex:b0,b1,..." (16 bytes, little-endian words).
bool ReadTransition(const std::string& reg, const char* name, DeviceTimeZone::Transition* t)
{
    std::string raw;
    if (!FindRegistryValue(reg, "System\\CurrentControlSet\\Control\\TimeZoneInformation", name, &raw) ||
        raw.compare(0, 4, "hex:") != 0)
        return false;
    std::vector<unsigned> bytes;
    const char* p = raw.c_str() + 4;
    while (*p != '\0') {
        char* end = nullptr;
        unsigned long b = strtoul(p, &end, 16);
        if (end == p)
            break;
        bytes.push_back(static_cast<unsigned>(b));
        p = *end == ',' ? end + 1 : end;
    }
    if (bytes.size() < 16)
        return false;
    auto word = [&](size_t i) { return static_cast<int>(bytes[2 * i] | bytes[2 * i + 1] << 8); };
    t->month = word(1);
    t->dayOfWeek = word(2);
    t->week = word(3);
    t->hour = word(4);
    t->minute = word(5);
    return true;
}

}  // namespace

DeviceTimeZone DeviceTimeZone::FromRegistry(const std::string& reg)
{
    DeviceTimeZone zone;
    if (!ReadDword(reg, "Bias", &zone.bias_))
        return zone;
    zone.known_ = true;
    ReadDword(reg, "StandardBias", &zone.standardBias_);
    ReadDword(reg, "DaylightBias", &zone.daylightBias_);
    if (!ReadTransition(reg, "DaylightStart", &zone.daylightStart_) ||
        !ReadTransition(reg, "StandardStart", &zone.standardStart_)) {
        zone.daylightStart_ = Transition();
        zone.standardStart_ = Transition();
    }
    return zone;
}

DeviceTimeZone DeviceTimeZone::Fixed(int biasMinutes)
{
    DeviceTimeZone zone;
    zone.known_ = true;
    zone.bias_ = biasMinutes;
    return zone;
}

DeviceTimeZone DeviceTimeZone::WithSummer(int bias, int daylightBias, Transition daylightStart,
                                          Transition standardStart)
{
    DeviceTimeZone zone = Fixed(bias);
    zone.daylightBias_ = daylightBias;
    zone.daylightStart_ = daylightStart;
    zone.standardStart_ = standardStart;
    return zone;
}

// As Windows decides it: summer time from the daylight start (read on the
// standard clock) to the standard start (read on the summer clock); in the
// southern half of the world the span wraps over the new year.
bool DeviceTimeZone::InSummer(const formats::NoteTime& local) const
{
    const Transition& on = daylightStart_;
    const Transition& off = standardStart_;
    if (on.month < 1 || on.month > 12 || off.month < 1 || off.month > 12 || on.week < 1 ||
        off.week < 1)
        return false;
    long long now = LocalMinuteOfYear(local);
    long long start = TransitionMinute(local.year, on);
    long long end = TransitionMinute(local.year, off);
    if (start < end)
        return now >= start && now < end;
    return now >= start || now < end;
}

long long DeviceTimeZone::UtcSecondsOf(const formats::NoteTime& local) const
{
    if (!known_) {
        struct tm t = {};
        t.tm_year = local.year - 1900;
        t.tm_mon = local.month - 1;
        t.tm_mday = local.day;
        t.tm_hour = local.hour;
        t.tm_min = local.minute;
        t.tm_sec = local.second;
        t.tm_isdst = -1;
        return static_cast<long long>(mktime(&t));
    }
    long long localSeconds = DaysFromCivil(local.year, local.month, local.day) * 86400 +
                             local.hour * 3600 + local.minute * 60 + local.second;
    int bias = bias_ + (InSummer(local) ? daylightBias_ : standardBias_);
    return localSeconds + bias * 60LL;
}

}  // namespace exporter
