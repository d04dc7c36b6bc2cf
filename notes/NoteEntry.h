// One listed note: what the list of notes knows of a note file without
// reading more than its head.
#pragma once

#include "shared/NoteHead.h"

#include <stdint.h>
#include <windows.h>

#include <string>

struct NoteEntry {
    SYSTEMTIME expiry;    // hour 25: never expires
    SYSTEMTIME created;   // the file's creation time, from the folder listing or the last save
    std::wstring title;
    std::wstring path;    // the entry's identity, compared exactly
    BYTE expired;
    bool whole;            // the file holds all the data its head claims
    NoteFileStamp stamp;   // the file's when its head was read
    bool settled;          // the stamp tells a later write (StampSettled)
    NoteEntry* next;
    // Where the find's texts keep this note's, while their generation is
    // the one noted (NoteTextCache::Get).
    mutable const struct NoteText* keptText;
    mutable uint64_t keptTextGeneration;
};
