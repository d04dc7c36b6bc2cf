// The notes the Today item lists: one entry per note file of the notes
// folder, in the order of the lines (dated notes by expiry, then undated
// ones by their files' creation times), each marked shown or not under the
// Today settings. Every reader and writer holds the list's lock.
#pragma once

#include "shared/NoteHead.h"

#include <windows.h>

#include <string>
#include <vector>

struct TodayEntry {
    std::wstring title;
    SYSTEMTIME expiry = {};
    FILETIME sortTime = {};  // creation time of the file, for undated notes
    std::wstring path;
    BYTE expired = 0;
    bool whole = true;   // the file holds the whole note: it can come up as an alarm
    bool shown = false;
    NoteFileStamp stamp;   // the file's when its head was read
    bool settled = false;  // the stamp tells a later write (StampSettled)
};

// What decides which notes are shown.
struct TodayFilter {
    bool showExpired = false;   // "TodayExpired"
    bool onlyToday = false;     // "TodayShowToday"
    SYSTEMTIME today = {};      // the local date
};

class TodayNoteList {
public:
    TodayNoteList();
    virtual ~TodayNoteList();

    // Reads the head of every note file of folder and replaces the list in
    // one step, so a paint never sees a half-loaded list. A head listed
    // before is not read again while the folder's listing shows its file's
    // size and last write time unchanged. A file another
    // program holds open for a moment is tried again for up to busyWaitMs;
    // stop, when signalled, ends the load early and keeps the old list.
    // False when stopped.
    bool Load(const wchar_t* folder, const TodayFilter& filter, HANDLE stop = nullptr);
    void Clear();

    void Lock() { EnterCriticalSection(&lock_); }
    void Unlock() { LeaveCriticalSection(&lock_); }

    // The following are called with the lock held.
    const std::vector<TodayEntry>& Entries() const { return entries_; }
    int ShownCount() const { return shownCount_; }
    // The index-th shown entry, or null.
    const TodayEntry* ShownAt(int index) const;
    // The first entry not flagged expired, passing over expiries that are
    // no date and notes cut short: the note the program is scheduled for.
    const TodayEntry* Pending() const;
    // The first whole entry not flagged expired whose expiry is a date not
    // later than now.
    const TodayEntry* Due(const FILETIME& now) const;
    // Milliseconds from now to the pending note's expiry; INFINITE when
    // there is no dated note to come.
    DWORD MsToPending(const FILETIME& now) const;

    static bool IsShown(const SYSTEMTIME& expiry, BYTE expired, const TodayFilter& filter);
    // Dated notes by expiry, then undated ones by creation time; those come
    // in from the back, so equal creation times keep reversed folder order.
    static void Sort(std::vector<TodayEntry>& entries);

    DWORD busyWaitMs = 500;
    // Heads read from their files by the last Load.
    int headsRead = 0;

private:
    CRITICAL_SECTION lock_;
    std::vector<TodayEntry> entries_;
    int shownCount_ = 0;
};

bool NeverExpiresToday(const SYSTEMTIME& expiry);
