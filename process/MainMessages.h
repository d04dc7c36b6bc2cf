// Messages of the hidden main window: the hub through which note windows,
// the all-notes window, a second instance and the Today item reach the
// program. What other processes send is in shared/MainMessages.h; these are
// the program's own.
#pragma once

#include "shared/MainMessages.h"

#include <windows.h>

// A note window's reports of what became of its note. They travel within
// the program only: the path of a saved note is a pointer, believed only
// while this very thread hands it over (notestore/NoteReports.h).
const UINT kMsgNoteSaved = WM_USER + 1;        // 1025, wParam: is new, lParam: path (in-process only)
const UINT kMsgNoteClosed = WM_USER + 2;       // 1026
const UINT kMsgNoteOpening = WM_USER + 3;      // 1027
// A request that had to wait (a question was on screen) can run now.
const UINT kMsgRunDeferred = WM_USER + 4;      // 1028
// The Today item's hand-over was read: the note it named opens now.
const UINT kMsgOpenHandedOver = WM_USER + 5;   // 1029

const WORD kCmdAbout = 1227;
