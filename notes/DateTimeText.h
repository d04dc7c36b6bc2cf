// The program's date and time text: "dd.mm.yy" in the locale's date order,
// optionally with hours and minutes on the locale's clock.
#pragma once

#include <windows.h>

const size_t kDateTimeTextLength = 64;

// out holds at least kDateTimeTextLength characters.
void FormatDateTime(const SYSTEMTIME& time, bool withTime, wchar_t* out);
