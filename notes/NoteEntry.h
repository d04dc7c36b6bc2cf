// One listed note: what the list of notes knows of a note file without
// reading more than its head.
#pragma once

#include <windows.h>

struct NoteEntry {
    SYSTEMTIME expiry;    // hour 25: never expires
    SYSTEMTIME created;   // the file's creation time, from the folder listing or the last save
    wchar_t* title;       // owned
    wchar_t* path;        // owned; the entry's identity, compared exactly
    BYTE expired;
    NoteEntry* next;
};
