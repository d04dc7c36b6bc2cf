// The all-notes window: every note in a list, the focused note's ink in a
// preview below it, a menu bar with "New" and "Tools", and a popup menu on
// tap-and-hold. Every command of the window is an abstract operation that
// the note store carries out; this class also holds the store's list of
// entries and the lock that guards it.
#pragma once

#include "dialogs/OptionsWindow.h"
#include "dialogs/TitlesEditor.h"
#include "notelist/FindBar.h"
#include "notelist/NoteListView.h"
#include "notes/FindQuery.h"
#include "notes/NoteEntryList.h"
#include "notes/NoteRecord.h"
#include "notes/NoteTextCache.h"
#include "notewindow/InkControl.h"

#include <windows.h>

#include <string>
#include <vector>

extern const wchar_t kNoteListClass[];   // "AllJotlingsWnd"

// Messages the window takes besides the standard ones.
const UINT kMsgListPopupMenu = WM_USER + 100;   // 1124, wParam x, lParam y in the list

class NoteListWindow {
public:
    NoteListWindow();
    virtual ~NoteListWindow();
    NoteListWindow(const NoteListWindow&) = delete;
    NoteListWindow& operator=(const NoteListWindow&) = delete;

    // The user's commands, carried out by the note store.
    virtual HWND NewNote(bool fromRecordButton) = 0;
    virtual void DeleteSelected() = 0;
    virtual void OpenNote(int position) = 0;
    virtual void SetSelectedExpired() = 0;
    virtual void SortByColumn(int request) = 0;
    virtual void PreviewNote(int position) = 0;
    virtual void ApplyOptions() = 0;
    virtual void ShowOptions(HWND parent) = 0;
    virtual void ShowAbout() = 0;
    virtual void OnActivate() = 0;
    // Closes the open note as Done does; false when it stays open (it could
    // not be stored and the user was told).
    virtual bool CloseCurrentNote() = 0;

    // Creates the window the first time; after that brings forward whatever
    // of the program the user was in (options, About box, titles editor, or
    // the list itself).
    void Show();
    // Fills the list again from the entries and empties the preview.
    void RefreshList();
    // Shows record (taken over; null empties the preview) from path.
    void SetPreview(NoteRecord* record, const wchar_t* path);
    int GetSelection(int* rows = nullptr) { return list.GetSelection(rows); }
    std::vector<int> SelectedRows() { return list.SelectedRows(); }
    // The entry a row of the list shows: while a find narrows the list, rows
    // and entries no longer go in step. Null for no such row.
    NoteEntry* EntryAtRow(int row);

    // Find: the box above the list, and the notes it leaves listed. The
    // notes found are every note whose title or typed text holds each word
    // typed (notes/FindQuery.h); with nothing typed, every note.
    void OpenFind();
    void CloseFind();
    bool FindOpen() const { return findBar.IsOpen(); }
    // A find with words in it narrows the list.
    bool Filtering() const { return findBar.IsOpen() && !findQuery.Empty(); }
    FindBar& Find() { return findBar; }
    NoteTextCache& Texts() { return textCache; }

    // The lock of the entries: re-entrant for the thread that holds it.
    void Lock() { entries.Lock(); }
    void Unlock() { entries.Unlock(); }

    NoteEntry* FirstEntry() const { return entries.First(); }
    NoteEntry* LastEntry() const { return entries.Last(); }
    HWND MainWindow() const { return mainWindow; }
    HWND Window() const { return window; }
    NoteListView& List() { return list; }
    InkControl& Preview() { return preview; }
    const wchar_t* PreviewPath() const { return previewPath; }
    OptionsWindow& Options() { return options; }
    TitlesEditor& Titles() { return titlesEditor; }

protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateListWindow();
    void CreatePopupMenu();
    void CreateMenuBar();
    // Fills the list from the entries; with refill, its rows go first.
    void FillList(bool refill = false);
    void OnCommand(WORD id);
    void OnFindCommand(WORD id, WORD code);
    // The rows again after the find changed: the notes selected, focused
    // and marked stay so where they are still listed, and the preview stays
    // with its note or goes with it.
    void Refilter();
    std::vector<NoteEntry*> ShownEntries(int* total);
    void UpdateRows();
    void ShowFindCount(int total);
    bool Matches(const NoteEntry& entry);
    // The row that shows the note at path, or -1.
    int RowOf(const std::wstring& path) const;
    // Marks the find's words in the preview's text (none when not finding).
    void MarkPreview();
    void PlaceList();
    LRESULT OnNotify(const NMHDR* header);
    void OnPopupMenu(int x, int y);
    void OnOptionsAccepted();

    HMENU menu = nullptr;
    HMENU popupMenu = nullptr;
    HBRUSH background = nullptr;
    NoteListView list;
    InkControl preview;
    NoteRecord* previewRecord = nullptr;
    wchar_t previewPath[MAX_PATH];
    HWND window = nullptr;
    HWND mainWindow = nullptr;
    NoteEntryList entries;
    OptionsWindow options;
    TitlesEditor titlesEditor;
    FindBar findBar;
    FindQuery findQuery;
    NoteTextCache textCache;
    // The path of the note on each row, as the list was last filled.
    std::vector<std::wstring> rowPaths;
    // The query the rows were last found by (none: every note).
    FindQuery shownQuery;
    // The rows' states are being put back: the list's notices of it are
    // no user's doing.
    bool restoringRows = false;
    bool previewMarked = false;
};
