// The handheld's core calls and constants that desktop Win32 lacks or spells
// differently. Program code includes this and reads as handheld code.
#pragma once

#include <windows.h>

// EventModify and its three actions, as the handheld's kernel has them
// (SetEvent, ResetEvent and PulseEvent are macros over it there).
#ifndef EVENT_PULSE
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
#endif

BOOL WINAPI EventModify(HANDLE event, DWORD action);
