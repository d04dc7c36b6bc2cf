// One whole note in memory: what a note window edits and a note file holds.
#pragma once

#include "shared/NoteHead.h"

#include <windows.h>

const DWORD kDefaultNoteZoom = 200;   // percent

struct NoteRecord {
    NoteRecord();

    // Frees the ink data; title, expiry, expired flag and zoom stay.
    void ClearData();
    // Takes ownership of a block allocated with AllocateNoteData.
    void TakeData(BYTE* block, DWORD length);

    wchar_t title[kTitleLength];
    SYSTEMTIME expiry;
    DWORD dataLength;
    BYTE* data;
    BYTE expired;
    DWORD zoom;
};

// Ink data blocks are allocated and freed through these two, whoever makes
// them (the file reader or the ink control's stream-out).
BYTE* AllocateNoteData(DWORD length);
void FreeNoteData(BYTE* block);
