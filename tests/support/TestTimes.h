// Times for tests: dates as written, real dates with their day of the
// week, times relative to the device's clock, and the never-expiring time.
#pragma once

#include <windows.h>

// Exactly the fields given; the day of the week stays 0.
SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0, WORD milliseconds = 0);

// A real date, with the day of the week filled in as the system does.
SYSTEMTIME Expiry(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0,
                  WORD milliseconds = 0);

// The device's local time now, moved by whole minutes.
SYSTEMTIME MinutesFromNow(int minutes);

// The day that many days from today, at hour:minute.
SYSTEMTIME DaysFromNow(int days, WORD hour, WORD minute = 0);

// A note's expiry that never comes: only its hour says so.
SYSTEMTIME NeverExpiring();
