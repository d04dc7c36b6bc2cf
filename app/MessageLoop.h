// The program's one message loop.
#pragma once

#include <windows.h>

// Runs until WM_QUIT, Ctrl+Q in any window of the thread closing
// mainWindow. Returns the exit code carried by WM_QUIT.
int RunMessageLoop(HWND mainWindow);
