// Window properties through which shell.exe learns what a window of ours
// asked for: it reads them from the foreground window of any process.
#pragma once

#include <windows.h>

namespace ceshell {

// (HANDLE)1 while the window wants the navigation bar's "ok" button.
constexpr const wchar_t* kDoneButtonProperty = L"CeShell.DoneButton";

// Bit set of what SHFullScreen hid for the window.
constexpr const wchar_t* kFullScreenProperty = L"CeShell.FullScreen";
constexpr unsigned kFullScreenTaskBarHidden = 1;
constexpr unsigned kFullScreenSipButtonHidden = 2;
constexpr unsigned kFullScreenStartIconHidden = 4;

inline UINT_PTR FullScreenBits(HWND window)
{
    return reinterpret_cast<UINT_PTR>(GetPropW(window, kFullScreenProperty));
}

inline void SetFullScreenBits(HWND window, UINT_PTR bits)
{
    if (bits == 0)
        RemovePropW(window, kFullScreenProperty);
    else
        SetPropW(window, kFullScreenProperty, reinterpret_cast<HANDLE>(bits));
}

// The menu bar object of an owner window, so a new bar replaces the old.
constexpr const wchar_t* kMenuBarProperty = L"CeShell.MenuBar";
// That bar's toolbar (its parent is the band), for other threads, which may
// only ask windows, never the bar object.
constexpr const wchar_t* kMenuBarToolbarProperty = L"CeShell.MenuBarToolbar";

}  // namespace ceshell
