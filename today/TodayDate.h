// The Today item's date and time text: day, month and year of two digits
// each in the locale's order, then the time on the locale's clock with the
// hour unpadded ("09.03.02, 2:05 PM" or "09.03.02, 14:05"). Empty for a
// note that never expires.
#pragma once

#include <windows.h>

#include <stddef.h>

void FormatTodayDate(const SYSTEMTIME& expiry, wchar_t* out, size_t count);
