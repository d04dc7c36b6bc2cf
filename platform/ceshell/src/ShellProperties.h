// Window properties through which shell.exe learns what a window of ours
// asked for: it reads them from the foreground window of any process.
#pragma once

namespace ceshell {

// (HANDLE)1 while the window wants the navigation bar's "ok" button.
constexpr const wchar_t* kDoneButtonProperty = L"CeShell.DoneButton";

// Bit set of what SHFullScreen hid for the window.
constexpr const wchar_t* kFullScreenProperty = L"CeShell.FullScreen";
constexpr unsigned kFullScreenTaskBarHidden = 1;
constexpr unsigned kFullScreenSipButtonHidden = 2;
constexpr unsigned kFullScreenStartIconHidden = 4;

// The menu bar object of an owner window, so a new bar replaces the old.
constexpr const wchar_t* kMenuBarProperty = L"CeShell.MenuBar";
// That bar's toolbar (its parent is the band), for other threads, which may
// only ask windows, never the bar object.
constexpr const wchar_t* kMenuBarToolbarProperty = L"CeShell.MenuBarToolbar";

}  // namespace ceshell
