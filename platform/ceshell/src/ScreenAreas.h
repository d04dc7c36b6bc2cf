// Where the shell's pieces sit on the screen. Computed from the screen size
// so that the bands stay at the bottom on any screen; on the 240 x 320
// device: navigation bar 0-26, work area 26-294, menu bar 294-320, input
// panel 214-294.
#pragma once

#include <windows.h>

namespace ceshell {

constexpr int kNavigationBarHeight = 26;
constexpr int kMenuBarHeight = 26;
constexpr int kInputPanelHeight = 80;
constexpr int kSipButtonWidth = 24;

inline int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
inline int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

inline RECT MenuBarRect()
{
    return RECT{0, ScreenHeight() - kMenuBarHeight, ScreenWidth(), ScreenHeight()};
}

inline RECT InputPanelRect()
{
    int bottom = ScreenHeight() - kMenuBarHeight;
    return RECT{0, bottom - kInputPanelHeight, ScreenWidth(), bottom};
}

inline RECT SipButtonRect()
{
    RECT bar = MenuBarRect();
    return RECT{bar.right - kSipButtonWidth, bar.top, bar.right, bar.bottom};
}

// The work area below the navigation bar and above the menu bar.
inline RECT WorkArea()
{
    return RECT{0, kNavigationBarHeight, ScreenWidth(), ScreenHeight() - kMenuBarHeight};
}

}  // namespace ceshell
