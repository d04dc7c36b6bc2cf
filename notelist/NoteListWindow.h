// The all-notes window's side of the note list: the list of entries and
// the lock that guards it, shared with the note store that derives from it.
#pragma once

#include "notes/NoteEntry.h"

class NoteListWindow {
public:
    NoteListWindow();
    virtual ~NoteListWindow();

    // The user's commands, implemented by the note store.
    virtual void SortByColumn(int request) = 0;

    // Re-entrant for the thread that holds it: store operations call each
    // other while they hold it.
    void Lock() { EnterCriticalSection(&listLock); }
    void Unlock() { LeaveCriticalSection(&listLock); }

    NoteEntry* FirstEntry() const { return firstEntry; }
    NoteEntry* LastEntry() const { return lastEntry; }
    HWND MainWindow() const { return mainWindow; }

protected:
    NoteEntry* firstEntry = nullptr;
    NoteEntry* lastEntry = nullptr;
    HWND mainWindow = nullptr;
    HWND listWindow = nullptr;

private:
    CRITICAL_SECTION listLock;
};

// Holds the list lock for a scope.
class NoteListLock {
public:
    explicit NoteListLock(NoteListWindow* list) : list(list) { list->Lock(); }
    ~NoteListLock() { list->Unlock(); }
    NoteListLock(const NoteListLock&) = delete;
    NoteListLock& operator=(const NoteListLock&) = delete;

private:
    NoteListWindow* list;
};
