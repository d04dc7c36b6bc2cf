// The start of an instance: one instance runs, and every later start hands
// its command word to it.
#pragma once

#include <windows.h>

class MainWindow;

// True when this process is the running instance: mainWindow is made, has
// posted itself what the command line asks, and the message loop is next.
// False when the process must end at once (another instance runs and was
// handed the command line, or the window could not be made).
bool StartInstance(HINSTANCE instance, const wchar_t* commandLine, MainWindow& mainWindow);

// The hardware record button is held right now (any process may hold it).
typedef bool (*KeyHeldFunction)(int key);
void SetKeyHeldFunction(KeyHeldFunction function);
