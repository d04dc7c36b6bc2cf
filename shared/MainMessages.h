// The main window's messages that other processes send or post (the Today
// item, a second start of the program), and the command words that stand for
// them when the program has to be started. The numbers are shared with other
// processes; never change them.
#pragma once

#include <windows.h>

const UINT kMsgOpenSharedNote = WM_USER + 101; // 1125, the Today item: open the note in the shared map
const UINT kMsgOpenNotePath = WM_USER + 103;   // 1127, wParam: the process's own command line
const UINT kMsgShowAllNotes = WM_USER + 302;   // 1326
const UINT kMsgCheckExpired = WM_USER + 303;   // 1327
const UINT kMsgNewNote = WM_USER + 304;        // 1328

// Command words of the program's command line.
extern const wchar_t kWordShowAll[];      // "showall"
extern const wchar_t kWordAddNew[];       // "addnew"
extern const wchar_t kWordRunAtTime[];    // "AppRunAtTime"

// The message each command word asks of the running program: "" and
// "showall" 1326, "addnew" 1328, "AppRunAtTime" 1327. Any other text is a
// note's path (1127, or the shared map's 1125). 0 for such a text.
UINT MessageOfCommandWord(const wchar_t* word);
// The command word that starts the program to the same effect as message;
// null for a message no word stands for.
const wchar_t* CommandWordOfMessage(UINT message);
