// A note window bound to one note file: it reads the note, shows it, and on
// closing decides whether and where the note is written, then tells the
// main window. New notes get the first free name, opened notes are written
// back in place, and an alarm keeps its note aside until the window closes.
#pragma once

#include "notewindow/NoteWindow.h"

namespace OpenMode {
const int New = 1;            // a new, empty note
const int Open = 2;           // edit a note file in place
const int Alarm = 3;          // show a note whose expiry has come
const int MarkExpired = 4;    // set a note file's expired flag; no window
const int LoadRecord = 5;     // read a note file into the caller's record; no window
const int StartRecording = 8; // with New: record at once
const int ModeMask = 7;
}  // namespace OpenMode

// Where a note under alarm waits until its window closes: no list reads it,
// and the next start puts it back if the program died meanwhile.
extern const wchar_t kAsideSuffix[];   // ".alarm"

class FileNoteWindow : public NoteWindow {
public:
    FileNoteWindow();
    ~FileNoteWindow() override;

    // Opens path (null for New) in mode. notifyWindow is the main window for
    // New, Open, Alarm and MarkExpired; record is the caller's for
    // LoadRecord. Returns the note window for New, else null.
    HWND Open(HWND owner, const wchar_t* path, int mode, HWND notifyWindow, NoteRecord* record = nullptr);

    bool StoreNote() override;
    void OnClose(bool save) override;

    int Mode() const { return mode; }
    // False when the note file could not be read whole; the window was then
    // not opened and the file is left as it is.
    bool WasRead() const { return readWhole; }

    // Puts back every note that a program ended during its alarm left aside
    // in folder; returns how many. A note whose name is taken meanwhile
    // comes back under a new name. Saves left unfinished are deleted.
    static int RestoreNotesLeftAside(const wchar_t* folder, const wchar_t* extension);

private:
    bool ReadForEditing(HWND owner, const wchar_t* path);
    bool SetAside(const wchar_t* path);
    // True when a set-aside copy was deleted.
    bool DropAside();
    bool KeepAside(const wchar_t* target);
    bool WriteTo(const wchar_t* target, bool isNew);

    int mode = 0;
    HWND notifyWindow = nullptr;
    bool readWhole = true;
    wchar_t asidePath[MAX_PATH];
    wchar_t storedPath[MAX_PATH];   // where StoreNote wrote; empty when nothing was kept
};
