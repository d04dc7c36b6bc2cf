// The Today item: its window in the Today screen (class "TodayClass"), the
// notes it lists, the schedule it keeps for the main program and the two
// watcher threads behind it.
//
// Threads: the host's thread owns the window, the fonts, the colour and
// every drawing value; the change watcher and the expiry watcher touch only
// the note list (under its lock), the schedule and the paths (under the
// same lock). A refresh on a watcher thread hands its drawing side to the
// window's thread with a posted message, so no watcher ever waits for the
// host's thread, and the host's thread can wait for the watchers to end.
#pragma once

#include "today/MainProgram.h"
#include "today/TestSeams.h"
#include "today/TodayNoteList.h"
#include "today/TodaySchedule.h"
#include "today/TodaySettings.h"

#include <todaycmn.h>

class TodayItem {
public:
    TodayItem();
    virtual ~TodayItem();

    // Ordinal 240: the item window, or null when the item is not enabled.
    HWND Create(TODAYLISTITEM* item, HWND host);

    // Reloads the notes and reschedules, on any thread; the window then
    // takes the new settings and redraws.
    void Refresh();
    // Reads the program's path and the notes folder from the settings.
    void ReadPaths();
    void ProgramBesideLibrary(wchar_t* program, size_t count) const;
    // Hands a command to the running program, or starts it with one.
    void Command(MainCommand command, const wchar_t* notePath = nullptr);

    HINSTANCE library = nullptr;
    HWND Window() const { return window_; }
    TodayNoteList& Notes() { return notes_; }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnClearCache();
    void OnDestroy();
    void OnPaint();
    LRESULT OnEraseBackground(HDC dc);
    LRESULT OnQueryHeight(TODAYLISTITEM* item);
    void OnOpenNote();
    void RefreshView();
    // Traces a change in whether the system took the next note's run, and
    // has the user told once a load when it did not.
    void ReportRefusedRun();
    static DWORD WINAPI RunRefusedNotice(void*);
    int ComputeHeight();
    void HandleTap(int x, int y);
    void Redraw();

    void TakeProgramBesideLibrary(wchar_t* program);
    void TakeProgramsNotesFolder(wchar_t* folder);
    TodayFilter CurrentFilter() const;
    void ProgramPath(wchar_t* out);
    void MakeNoteFont();
    void FreeDrawing();

    void StartWatchers();
    void StopWatchers();
    static DWORD WINAPI ChangeWatcher(void* self);
    // A change notification on the notes folder, or null.
    HANDLE WatchNotesFolder();
    static DWORD WINAPI ExpiryWatcher(void* self);
    // Starts the program for a due note; how long the expiry watcher may
    // sleep before it looks again.
    DWORD CheckDue();

    // Auto reset; set to have the change watcher reload the notes.
    HANDLE reload_ = nullptr;
    HANDLE listRead_ = nullptr;  // auto-reset: set after each read of the list
    HWND host_ = nullptr;
    HWND window_ = nullptr;
    HINSTANCE windowInstance_ = nullptr;
    TODAYLISTITEM* hostItem_ = nullptr;
    HBITMAP icon_ = nullptr;
    HFONT noteFont_ = nullptr;
    HFONT emptyFont_ = nullptr;
    COLORREF textColour_ = 0;
    int watermark_ = -1;
    int height_ = 0;
    int selectedLine_ = -1;
    int lineHeight_ = 0;
    int linesBeforeShowAll_ = 5;
    bool sizeChanged_ = true;
    // The first load's list has reached the window: until then an empty
    // list is not yet known to be empty, and offers no "add new".
    bool listIn_ = false;
    wchar_t tappedPath_[MAX_PATH] = L"";
    bool runRefused_ = false;          // the change watcher's: the last Reschedule was refused
    bool userToldOfRefusal_ = false;   // the change watcher's: the box was shown this load

    CRITICAL_SECTION refreshLock_;
    TodayNoteList notes_;
    TodaySchedule schedule_;   // its program path is guarded by the list lock
    wchar_t notesFolder_[MAX_PATH] = L"";
    // The "Path" and "Jotlings" last written to the trace log as wrong, so
    // that each refresh does not write them again.
    wchar_t tracedPath_[MAX_PATH] = L"";
    wchar_t tracedFolder_[MAX_PATH] = L"";

    HANDLE stop_ = nullptr;
    HANDLE changeWatcher_ = nullptr;
    HANDLE expiryWatcher_ = nullptr;
};

extern TodayItem g_todayItem;

// The program's notes folder as the program finds it; tests put their own.
bool DeviceNotesFolder(wchar_t* out, size_t count);
extern NotesFolderFunction g_programNotesFolder;
