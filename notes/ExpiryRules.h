// When a note expires: the never-expiring mark, comparison with the clock,
// moving a time by an offset, the preset choices, and the status line.
#pragma once

#include <windows.h>

#include <stddef.h>

// A note whose expiry has this hour never expires; its other fields mean
// nothing and it is never handed to the platform's time conversions.
const WORD kNeverExpiresHour = 25;

// Preset expiry commands, in the order the note window offers them.
const int kCmdExpiryNever = 118;
const int kCmdExpiry10Minutes = 111;
const int kCmdExpiry15Minutes = 112;
const int kCmdExpiry30Minutes = 113;
const int kCmdExpiry1Hour = 114;
const int kCmdExpiry2Hours = 115;
const int kCmdExpiryTomorrow = 116;
const int kCmdExpiryNextWeek = 117;

const size_t kExpiryTextLength = 255;

inline bool NeverExpires(const SYSTEMTIME& time) { return time.wHour == kNeverExpiresHour; }

// An expiry that names a moment the clock will reach: it does not never
// expire, and it is a date at all (a damaged file may hold month 13 or day
// 0, which no check or timed run can use).
bool IsAlarmTime(const SYSTEMTIME& time);

// -1, 0 or 1 as CompareFileTime gives it, over the two times as FILETIMEs.
int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b);

// A time as one number that orders as CompareTimes does: a time that is no
// valid date counts as the earliest of all.
ULONGLONG TimeKey(const SYSTEMTIME& time);

// Moves time forward by offset's year, month, day, hour, minute and second,
// each carry applied once.
void AddTimeOffset(SYSTEMTIME* time, const SYSTEMTIME& offset);

// The offset of a preset command (hour 25 for "Never expire"). False for a
// command that is not a preset.
bool ExpiryChoiceOffset(int command, SYSTEMTIME* offset);

// Applies a preset to an expiry: "Never expire" sets the hour to 25 and
// keeps the rest; every other preset is the clock plus its offset.
bool ApplyExpiryChoiceTo(int command, SYSTEMTIME* expiry);
// A choice of the alarm's "Snooze" menu (IDM_SNOOZE_*) makes expiry the
// time the alarm comes again: that much from now. False for any other
// command, expiry untouched.
bool SnoozeTo(int command, SYSTEMTIME* expiry);

// The status line of a note window for a note with this expiry. storedNote
// is false for a note not yet saved; expiredFlag is the note's flag.
void ExpiryStatusText(const SYSTEMTIME& expiry, bool storedNote, bool expiredFlag, wchar_t* out, size_t count);
