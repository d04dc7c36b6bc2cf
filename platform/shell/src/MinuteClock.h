// The screen's clock and date change on the minute: what shows them sleeps
// until the next one instead of looking again and again.
#pragma once

#include <windows.h>

namespace shell {

// Milliseconds from now to just past the next full minute of the device's
// clock; a timer set to it fires once the minute has turned.
inline UINT MsToNextMinute()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return (60 - now.wSecond) * 1000u - now.wMilliseconds + 20;
}

}  // namespace shell
