// The store's list of notes: a singly linked list of entries in the order
// of the list's rows, each entry owning its title and path, and the lock
// that guards it.
#pragma once

#include "notes/NoteEntry.h"
#include "shared/NoteHead.h"

#include <windows.h>

#include <vector>

class NoteEntryList {
public:
    NoteEntryList();
    ~NoteEntryList();
    NoteEntryList(const NoteEntryList&) = delete;
    NoteEntryList& operator=(const NoteEntryList&) = delete;

    // Re-entrant for the thread that holds it: the store's operations call
    // each other while they hold it.
    void Lock() { EnterCriticalSection(&lock); }
    void Unlock() { LeaveCriticalSection(&lock); }

    // Appends an entry for path with what its head says; null when memory
    // runs out.
    NoteEntry* Append(const wchar_t* path, const NoteHead& head);
    // Unlinks and frees entry. Returns the entry that followed it, or the
    // new first when it was first; the first entry when entry is not in
    // the list.
    NoteEntry* Remove(NoteEntry* entry);
    // Removes the first entry whose path is exactly path and returns the
    // position it had; -1 when there is none.
    int RemoveByPath(const wchar_t* path);
    void Clear();

    int Count();
    NoteEntry* At(int position);
    NoteEntry* Find(const wchar_t* path);
    NoteEntry* First() const { return first; }
    NoteEntry* Last() const { return last; }

    // Links the list in this order, which holds each of its entries once.
    void Relink(const std::vector<NoteEntry*>& order);

private:
    NoteEntry* first = nullptr;
    NoteEntry* last = nullptr;
    CRITICAL_SECTION lock;
};

// Holds a list's lock for a scope.
class NoteEntryLock {
public:
    explicit NoteEntryLock(NoteEntryList& list) : list(list) { list.Lock(); }
    ~NoteEntryLock() { list.Unlock(); }
    NoteEntryLock(const NoteEntryLock&) = delete;
    NoteEntryLock& operator=(const NoteEntryLock&) = delete;

private:
    NoteEntryList& list;
};
