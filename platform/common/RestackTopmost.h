// Puts a topmost window of the platform (the navigation bar, the input
// panel) on top of the screen for real.
#pragma once

#include <windows.h>

// The virtual desktop raises a newly active window on the screen a moment
// after Wine has ordered it, which can bury a topmost window that is still
// first in Wine's order; setting the same order again changes nothing there,
// so the window steps down and up to be restacked for real. On the handheld
// the shell's bars stay above every program's window by themselves.
inline void RestackTopmost(HWND window)
{
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
