// Messages of the note window and its parts (numbers are decimal on the
// handheld's side too). Plain window messages: 1134 here opens the picker,
// while command 1134 inside WM_COMMAND is Undo.
#pragma once

#include <windows.h>

const UINT kMsgNoteCloseRequest = WM_USER + 100;  // 1124: save or discard
const UINT kMsgNoteDiscard = WM_USER + 101;       // 1125: close without saving
const UINT kMsgNoteFileClosing = WM_USER + 102;   // 1126, lParam: a note file's path
const UINT kMsgNoteStopRecording = WM_USER + 103; // 1127
const UINT kMsgNotePopupMenu = WM_USER + 104;     // 1128, the pop-up button's tap
const UINT kMsgNoteOpenPicker = WM_USER + 110;    // 1134, the clock button's tap or the status line
const UINT kMsgPickerClosed = WM_USER + 500;      // 1524, posted by the expiry picker
const UINT kMsgNoteRecordButton = WM_USER + 1133; // 2157, a record-button recording starts

// The status line's one-minute refresh.
const UINT_PTR kNoteStatusTimer = 1;
const UINT kNoteStatusTimerMs = 60000;
