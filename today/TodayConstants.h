// Numbers and names of the Today item: its own window messages, the main
// program it talks to, its layout. The messages to the main program and the
// names both meet by are in shared/.
#pragma once

#include <windows.h>

// The item window's own commands; a tap posts or sends them to the item
// window itself, whose handlers talk to the main program.
const UINT kMsgTodayOpenNote = WM_USER + 301;  // 1325: open the note tapped last
const UINT kMsgTodayShowAll = WM_USER + 302;   // 1326
const UINT kMsgTodayAddNew = WM_USER + 304;    // 1328
// A refresh made on a watcher thread hands the drawing side to the item
// window's own thread with this message.
const UINT kMsgTodayViewRefresh = WM_USER + 310;

extern const wchar_t kTodayClassName[];     // "TodayClass"
extern const wchar_t kTodayWindowTitle[];   // "KORVA Jotlings"
extern const wchar_t kNoteExtension[];      // ".jot"

// Resources of KJotlings.dll.
const int kTodayIconBitmap = 103;
const int kTodayOptionsDialog = 500;

// Layout of the item window, in pixels.
const int kTodayWidth = 240;
const int kIconSquare = 30;      // taps left of and above it hit the icon
const int kTextLeft = 30;
const int kTextRightMargin = 2;
const int kEmptyTop = 20;        // note lines start here when none is shown
const int kMinimumRows = 20;     // least height of the lines
const int kHostExtra = 3;        // the host reserves this much below the window
const int kIconPosition = 2;
const int kIconSize = 16;
const COLORREF kIconKey = RGB(255, 0, 255);

const SHORT kNoExpiryHour = 25;

// A loaded item holds its timed run with an event of this name (the run's
// handle in decimal) on the device, so that another load's clean-up of
// stale runs leaves the run alone while the item lives.
const wchar_t kHeldRunEventFormat[] = L"JotlingsTodayRun.%lu";

// How long a tap on a note waits for the running program to take it.
const UINT kHandOverWaitMs = 3000;
