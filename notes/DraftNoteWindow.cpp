#include "notes/DraftNoteWindow.h"

HWND DraftNoteWindow::OpenNew(HWND owner)
{
    DraftNoteWindow* draft = new DraftNoteWindow();
    HWND window = draft->Create(owner, false, false);
    if (window == nullptr)
        delete draft;
    return window;
}

void DraftNoteWindow::OnClose(bool)
{
    // Called as the last step of closing, on the way out of this object's
    // own message handler, which touches nothing after it.
    delete this;
}
