// How a note window tells the main window what became of its note. The
// reports travel within the program only: the path of a saved note is a
// pointer, believed only while this very thread hands it over.
#pragma once

#include "process/MainMessages.h"

#include <windows.h>

// Sends 1025 for path to mainWindow.
void ReportNoteSaved(HWND mainWindow, const wchar_t* path, bool isNew);
// True when path is exactly the pointer ReportNoteSaved is handing out now.
bool IsPathBeingReported(const wchar_t* path);
