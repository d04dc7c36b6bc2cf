// A note's expiry as the all-notes list words it on the device, and as
// ISO 8601 for machines.
#pragma once

#include "formats/NoteLayout.h"

#include <string>

namespace exporter {

// The device's date order (LOCALE_ILDATE: 0 month first, 1 day first, else
// year first) and clock (LOCALE_ITIME: 0 is the 12-hour clock).
struct DateStyle {
    int dateOrder = 0;
    bool clock24 = false;
};

bool NeverExpires(const formats::NoteTime& t);
// A time the calendar holds (a damaged file may hold any numbers).
bool IsValidTime(const formats::NoteTime& t);
// "08.03.02, 09:05" and its other orders and clocks, as the program writes it.
std::string FormatDateTime(const formats::NoteTime& t, bool withTime, const DateStyle& style);
// The list's column: "Never expire" or the date and time.
std::string ExpiryWords(const formats::NoteTime& t, const DateStyle& style);
// "2002-08-03T09:05:00" (local time, as the device keeps it); empty when
// the note never expires or the time is none of the calendar's.
std::string IsoTime(const formats::NoteTime& t);
// For ordering: milliseconds since year 1, or 0 for an invalid time.
long long TimeKey(const formats::NoteTime& t);

}  // namespace exporter
