// Registers a window class unless the module has it already: every window
// of the program and of the platform registers its class this way, at its
// first creation, and a later window (or a second screen in a test) finds
// it there.
#pragma once

#include <windows.h>

// True when the class is there afterwards, registered now or before. Asking
// GetClassInfoW first would not do: it also finds comctl32's global class of
// the same name, which the platform's own "SysMonthCal32" is registered to
// stand before, as a class of the module.
inline bool RegisterClassOnce(const WNDCLASSW& windowClass)
{
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
