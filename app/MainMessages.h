// Messages of the hidden main window: the hub through which note windows,
// the all-notes window, a second instance and the Today item reach the
// program. The numbers are shared with other processes; never change them.
#pragma once

#include <windows.h>

const UINT kMsgNoteSaved = WM_USER + 1;        // 1025, wParam: is new, lParam: path (in-process only)
const UINT kMsgNoteClosed = WM_USER + 2;       // 1026
const UINT kMsgNoteOpening = WM_USER + 3;      // 1027
// The program's own: a request that had to wait (a question was on screen)
// can run now.
const UINT kMsgRunDeferred = WM_USER + 4;      // 1028
const UINT kMsgOpenSharedNote = WM_USER + 101; // 1125, the Today item: open the note in the shared map
const UINT kMsgOpenNotePath = WM_USER + 103;   // 1127, wParam: the process's own command line
const UINT kMsgShowAllNotes = WM_USER + 302;   // 1326
const UINT kMsgCheckExpired = WM_USER + 303;   // 1327
const UINT kMsgNewNote = WM_USER + 304;        // 1328

const WORD kCmdAbout = 1227;

// Command words of the program's command line.
extern const wchar_t kWordShowAll[];      // "showall"
extern const wchar_t kWordAddNew[];       // "addnew"
extern const wchar_t kWordRunAtTime[];    // "AppRunAtTime"
