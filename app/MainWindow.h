// The hidden main window and the start of an instance: one instance runs,
// and every later start hands its command word to it.
#pragma once

#include <windows.h>

// The running instance's main window (this process's, or the other
// instance's when one was found).
extern HWND g_mainWindow;

// True when this process is the running instance and enters its message
// loop; false when it must end at once.
bool StartInstance(HINSTANCE instance, const wchar_t* commandLine);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The one message loop, with Ctrl+Q ending the program. Returns the exit
// code carried by WM_QUIT.
int RunMessageLoop();

// The hardware record button is held right now (any process may hold it).
typedef bool (*KeyHeldFunction)(int key);
void SetKeyHeldFunction(KeyHeldFunction function);
