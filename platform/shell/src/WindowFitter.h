// Keeps the window in front out from under the navigation bar, as the
// handheld's window manager does: a program window with a caption loses it
// (its title shows in the navigation bar) and fills the work area; a dialog
// that reaches over the bar moves down below it. Windows that asked for the
// whole screen (SHFullScreen) and windows already below the bar are left be.
#pragma once

#include <windows.h>

namespace shell {

class WindowFitter {
public:
    // True when the window was moved.
    static bool Fit(HWND window);
};

}  // namespace shell
