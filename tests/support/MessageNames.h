// Names of the messages the program and its tests exchange, for reports of
// message sequences. The program's numbers above WM_USER mean different
// things to different windows (1025 is kMsgNoteSaved to the main window and
// TB_ENABLEBUTTON to a toolbar), so a sequence names its messages from the
// families of the windows it watched.
#pragma once

#include <windows.h>

#include <string>

enum MessageFamily : unsigned {
    kMainMessages = 1,     // process/MainMessages.h: the hidden main window
    kNoteMessages = 2,     // notewindow/NoteWindowMessages.h: the note window, its picker
    kInkMessages = 4,      // notewindow/InkControlMessages.h: the ink control
    kToolbarMessages = 8,  // TB_*: the menu bar's toolbar
    kProgramMessages = kMainMessages | kNoteMessages | kInkMessages,
};

// "WM_COMMAND", "kInkSetZoom", "kMsgOpenSharedNote|kMsgNoteDiscard" where a
// number has several names among the families; "" when it has none. The
// system's WM_* messages are always named.
std::string MessageName(UINT message, unsigned families);
