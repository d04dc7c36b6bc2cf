// The program's one message loop.
#pragma once

#include <windows.h>

// Runs until mainWindow is gone and its WM_QUIT came; Ctrl+Q in any window
// of the thread, or a WM_QUIT while mainWindow lives, closes mainWindow.
// Returns the exit code carried by the last WM_QUIT.
int RunMessageLoop(HWND mainWindow);
