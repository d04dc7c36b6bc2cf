// The device's time zone, as Windows keeps it (TIME_ZONE_INFORMATION in
// the registry): the expiry of a note is the device's local time, and a
// notes app's reminder is UTC.
#pragma once

#include "formats/NoteLayout.h"

#include <string>

namespace exporter {

class DeviceTimeZone {
public:
    // The value of "...\TimeZoneInformation" in a Wine prefix's system.reg
    // text; Known() is false when the key is not there.
    static DeviceTimeZone FromRegistry(const std::string& systemRegText);
    // A fixed zone without summer time: minutes west of UTC, as Bias.
    static DeviceTimeZone Fixed(int biasMinutes);
    // With summer time, the transitions in SYSTEMTIME's "day in month"
    // form: month, day of week (0 Sunday), week 1-5 (5 the last), hour.
    struct Transition {
        int month = 0;
        int dayOfWeek = 0;
        int week = 0;
        int hour = 0;
        int minute = 0;
    };
    static DeviceTimeZone WithSummer(int bias, int daylightBias, Transition daylightStart,
                                     Transition standardStart);

    bool Known() const { return known_; }
    // Seconds since 1970 (UTC) of a valid local time; without a known zone
    // this machine's own zone stands in.
    long long UtcSecondsOf(const formats::NoteTime& local) const;

private:
    bool InSummer(const formats::NoteTime& local) const;

    bool known_ = false;
    int bias_ = 0;          // minutes: UTC = local + bias
    int standardBias_ = 0;
    int daylightBias_ = 0;
    Transition daylightStart_;
    Transition standardStart_;
};

}  // namespace exporter
