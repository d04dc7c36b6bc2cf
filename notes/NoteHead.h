// The head of a note file: the first 527 bytes (expiry, title, expired
// flag), all that a list of notes needs. The program's note store and the
// Today item both list notes through ReadNoteHead; it is built into the
// small library both link (jotlings_shared).
#pragma once

#include "notes/ByteStream.h"
#include "notes/NoteRecord.h"

const DWORD kNoteHeadSize = 527;

struct NoteHead {
    SYSTEMTIME expiry;
    wchar_t title[kTitleLength];
    BYTE expired;
};

// Reads expiry, title and expired flag. False when the file cannot be
// opened or is too short for a head: such a file is not listed.
bool ReadNoteHead(const wchar_t* path, NoteHead* head);

// The two leading fields as the file lays them out, for every reader of
// note bytes. ReadNoteTime is false, leaving time alone, when fewer than 16
// bytes remain; ReadNoteTitle takes what there is of the 510 bytes and
// always leaves the title terminated within its 255 units.
bool ReadNoteTime(ByteReader& in, SYSTEMTIME* time);
void ReadNoteTitle(ByteReader& in, wchar_t* title);
