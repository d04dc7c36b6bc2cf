// A note window bound to no file: what "addnew" opens until notes are kept
// in files. Closing it keeps nothing; the object deletes itself once its
// window is gone.
#pragma once

#include "notewindow/NoteWindow.h"

class DraftNoteWindow : public NoteWindow {
public:
    // Opens a new, empty note over owner; null when no window could be made
    // (the object is then gone too).
    static HWND OpenNew(HWND owner);

    void OnClose(bool save) override;
};
