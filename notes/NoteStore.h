// The program's controller of notes: the list of every note file's head,
// kept in step with what the program itself changes, and sorted for the
// all-notes window.
#pragma once

#include "notelist/NoteListWindow.h"

// Sort requests besides a column number.
const int kSortReapply = -2;   // the current rule again (time ascending when none yet)
const int kSortDefault = -1;   // time ascending
const int kSortByTime = 0;
const int kSortByTitle = 1;

class NoteStore : public NoteListWindow {
public:
    // folder and extension name the notes ("<folder>\*<extension>").
    NoteStore(const wchar_t* folder, const wchar_t* extension);
    ~NoteStore() override;

    void SortByColumn(int request) override;

    // Run by the main window's creation; true when it opened an alarm.
    bool AttachMainWindow(HWND window);
    // A note file was written: its entry is read again and the list sorted.
    void OnNoteSaved(const wchar_t* path, bool isNew);

    void LoadFolder();
    NoteEntry* LoadEntry(const wchar_t* path);
    NoteEntry* RemoveEntry(NoteEntry* entry);
    int RemoveEntryByPath(const wchar_t* path);
    void ClearEntries();

    int EntryCount();
    NoteEntry* EntryAt(int position);
    NoteEntry* FindEntry(const wchar_t* path);

    int SortColumn() const { return sortColumn; }
    int SortDescending() const { return sortDescending; }

private:
    void FreeEntry(NoteEntry* entry);
    void OrderNeverExpiringByCreation(NoteEntry** entries, int count, bool descending);

    wchar_t notesFolder[MAX_PATH];
    wchar_t noteExtension[8];
    int sortColumn = -1;
    int sortDescending = -1;
    bool noteWindowOpen = false;
};

// The process-wide store, made by the entry routine.
extern NoteStore* g_noteStore;
