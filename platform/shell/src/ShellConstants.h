// Numbers the shell's windows share: screen areas, timers, messages and the
// window properties through which other programs' windows talk to it.
#pragma once

#include <windows.h>

namespace shell {

// The 240 x 320 screen.
const int kScreenWidth = 240;
const int kNavBarTop = 0;
const int kNavBarHeight = 26;
const int kWorkTop = 26;
const int kWorkBottom = 294;
const int kMenuBarTop = 294;
const int kScreenHeight = 320;

// Set on a window (by SHInitDialog and friends) that wants the navigation
// bar's "ok" button; the button sends it WM_COMMAND IDOK.
const wchar_t kDoneButtonProperty[] = L"CeShell.DoneButton";
// SHFullScreen's state of a window, as bits.
const wchar_t kFullScreenProperty[] = L"CeShell.FullScreen";
const UINT_PTR kFullScreenTaskBarHidden = 1;
const UINT_PTR kFullScreenSipButtonHidden = 2;
const UINT_PTR kFullScreenStartIconHidden = 4;

// Window classes, found across processes.
const wchar_t kNavBarClass[] = L"HHTaskBar";
const wchar_t kTodayClass[] = L"DesktopExplorerWindow";
const wchar_t kServicesClass[] = L"JotlingsShellServices";
const wchar_t kTodaySettingsClass[] = L"TodaySettingsWindow";

// Held by a shell from its start until it has unloaded everything, so that
// a new shell waits for one still going down.
const wchar_t kShellLifeMutex[] = L"JotlingsShellLife";

// Messages of the shell's own windows.
const UINT kMsgShowToday = WM_APP + 1;          // Today screen: come to the front
const UINT kMsgShowTodaySettings = WM_APP + 2;  // Today screen: open the item settings
const UINT kMsgTodaySettingsDone = WM_APP + 3;  // Today screen: the settings were saved
const UINT kMsgStartMenuClosed = WM_APP + 4;    // Today screen: the Start menu over it closed
const UINT kMsgTodayListChanged = WM_APP + 5;   // Today screen: the registry's item list was written
const UINT kMsgRunsChanged = WM_APP + 6;        // shell services: the timed runs were written

// Today host timings.
const UINT kTodayQueryMs = 2000;   // height questions to every item

}  // namespace shell
