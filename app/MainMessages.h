// Messages of the hidden main window: the hub through which note windows,
// the all-notes window, a second instance and the Today item reach the
// program. What other processes send is in shared/MainMessages.h, the note
// windows' reports in notes/NoteReports.h; these are the program's own.
#pragma once

#include "notes/NoteReports.h"
#include "shared/MainMessages.h"

#include <windows.h>

// A request that had to wait (a question was on screen) can run now.
const UINT kMsgRunDeferred = WM_USER + 4;      // 1028
// The Today item's hand-over was read: the note it named opens now.
const UINT kMsgOpenHandedOver = WM_USER + 5;   // 1029

const WORD kCmdAbout = 1227;
