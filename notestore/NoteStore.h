// The program's controller of notes: the list of every note file's head,
// kept in step with what the program itself changes, and sorted for the
// all-notes window.
#pragma once

#include "notelist/NoteListWindow.h"
#include "notes/NoteSort.h"
#include "notestore/NoteRequests.h"
#include "shared/NoteHead.h"

#include <string>
#include <vector>

class FileNoteWindow;

class NoteStore : public NoteListWindow {
public:
    // folder and extension name the notes ("<folder>\*<extension>").
    // headCache, when given, is the file where the heads read are kept for
    // the next start (notes/HeadCacheFile.h).
    NoteStore(const wchar_t* folder, const wchar_t* extension, const wchar_t* headCache = nullptr);
    ~NoteStore() override;

    HWND NewNote(bool fromRecordButton) override;
    void DeleteSelected() override;
    void OpenNote(int position) override;
    void SetSelectedExpired() override;
    void SortByColumn(int request) override;
    void PreviewNote(int position) override;
    void ApplyOptions() override;
    void ShowOptions(HWND parent) override;
    void ShowAbout() override;
    void OnActivate() override;
    bool CloseCurrentNote() override;

    // Run by the main window's creation: puts back notes a program ended
    // during their alarm, then checks for due notes. True when it opened an
    // alarm.
    bool AttachMainWindow(HWND window);
    // Opens the earliest due note as an alarm; the next one comes when the
    // user closes it. With force and none due, the pending note with the
    // earliest expiry (never one marked expired: it had its alarm). True when one opened. While an alarm is on screen the check
    // waits for it to close; while a question is up, for the answer.
    bool CheckExpired(bool force);
    // A request of the program's start (its command line) when the start
    // opened an alarm: it waits, as a deferred request does, until nothing
    // is on screen. path: the note to open, for Open.
    void AfterAlarm(NoteRequests::Kind kind, const wchar_t* path);
    // Opens the listed note whose path is exactly this one.
    void OpenNoteByPath(const wchar_t* path);
    // A note file was written: its entry is read again and the list sorted.
    void OnNoteSaved(const wchar_t* path, bool isNew);
    // A note window closed.
    void OnNoteClosed();
    // Runs the first request that had to wait, if it can run now (1028).
    void RunDeferredRequest();

    FileNoteWindow* CurrentNoteWindow() const { return currentNoteWindow; }
    bool NoteWindowOpen() const { return noteWindowOpen; }

    void LoadFolder();
    NoteEntry* LoadEntry(const wchar_t* path);
    NoteEntry* RemoveEntry(NoteEntry* entry);
    int RemoveEntryByPath(const wchar_t* path);
    void ClearEntries();

    int EntryCount();
    NoteEntry* EntryAt(int position);
    NoteEntry* FindEntry(const wchar_t* path);

    int SortColumn() const { return order.column; }
    int SortDescending() const { return order.descending; }

private:
    // The notes a check would open, earliest first; fallback when none is
    // due and a forced check falls back on the earliest note.
    struct DueNotes {
        std::vector<std::wstring> paths;
        bool fallback = false;
    };
    // The note window as the request rules see it.
    NoteRequests::Screen OnScreen() const;
    bool MustWait() const;
    // Closes the current note as Done does; false when it stayed open.
    bool CloseNoteWindow();
    DueNotes FindDueNotes(bool force);
    bool OpenDueNote(bool force);
    std::vector<std::wstring> SelectedPaths();
    // Carries out act on the notes the user selected, as one request;
    // nothing while requests must wait or when none is selected.
    void ActOnSelected(void (NoteStore::*act)(const std::vector<std::wstring>& paths));
    void DeleteNotes(const std::vector<std::wstring>& paths);
    void SetNotesExpired(const std::vector<std::wstring>& paths);

    NoteEntry* AddEntry(const wchar_t* path, const NoteHead& head);
    // Writes the head cache when the list holds heads it does not.
    void SaveHeadCache();
    // Opens path in mode as the current note window, after closing the one
    // before; false when that one stayed open.
    HWND OpenCurrent(const wchar_t* path, int mode);
    HWND ListWindowHandle() const { return window; }

    wchar_t notesFolder[MAX_PATH];
    wchar_t noteExtension[8];
    wchar_t headCachePath[MAX_PATH];
    // Set when a head was read from its file, or a note went, since the
    // cache was read or written.
    bool headCacheStale = false;
    NoteOrder order;
    FileNoteWindow* currentNoteWindow = nullptr;
    bool noteWindowOpen = false;
    NoteRequests requests;
};

