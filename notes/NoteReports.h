// How a note window tells the main window what became of its note. The
// reports travel within the program only: the path of a saved note is a
// pointer, believed only while this very thread hands it over.
#pragma once

#include <windows.h>

const UINT kMsgNoteSaved = WM_USER + 1;        // 1025, wParam: is new, lParam: path (in-process only)
const UINT kMsgNoteClosed = WM_USER + 2;       // 1026
const UINT kMsgNoteOpening = WM_USER + 3;      // 1027

// Sends 1025 for path to mainWindow.
void ReportNoteSaved(HWND mainWindow, const wchar_t* path, bool isNew);
// True when path is exactly the pointer ReportNoteSaved is handing out now.
bool IsPathBeingReported(const wchar_t* path);
