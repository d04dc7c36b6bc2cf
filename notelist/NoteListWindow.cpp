#include "notelist/NoteListWindow.h"

NoteListWindow::NoteListWindow()
{
    InitializeCriticalSection(&listLock);
}

NoteListWindow::~NoteListWindow()
{
    DeleteCriticalSection(&listLock);
}
