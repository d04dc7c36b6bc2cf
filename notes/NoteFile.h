// The note file: one note per file in the notes folder, laid out byte for
// byte as both the program and the Today item read it.
//
//   offset  size  field
//        0    16  expiry: eight 16-bit SYSTEMTIME fields, year first
//       16   510  title: 255 UTF-16LE units, zero-terminated
//      526     1  expired flag (0 or 1)
//      527     4  zoom in percent
//      531     4  data length N
//      535     N  ink data, as the ink control streams it
//
// All integers are little-endian. The first 527 bytes are the file's head.
#pragma once

#include "notes/NoteRecord.h"
#include "platform/common/Text.h"
#include "shared/NoteHead.h"

#include <string>

const DWORD kNoteFileHeaderSize = formats::kNoteHeaderSize;
const int kMaxNoteFiles = 1000;

// Saves the record at path. The new content is written beside the target
// and then replaces it in one step, so an interrupted save leaves the old
// note whole. Returns false when nothing was replaced.
bool WriteNoteFile(const wchar_t* path, const NoteRecord& record);

// Clears the record's data, then fills it from the file. A missing file
// leaves the other fields alone; a damaged one yields what it holds whole.
bool ReadNoteFile(const wchar_t* path, NoteRecord* record);

// Reads a note to be edited and written back: waits up to
// g_noteFileBusyRetryMs for a file another process holds, and is true only
// when the file holds a whole note (head, zoom, length and all the data it
// claims), so that saving the note never replaces bytes that were not read.
bool ReadWholeNoteFile(const wchar_t* path, NoteRecord* record);

// The typed text of the note at path, as the ink control shows it, read
// without the rest of the note (formats/NoteTextScan.h): recordings and
// strokes are stepped over by their lengths. A damaged note gives what
// could be read of it. written gets the file's last write time and size,
// by which a copy kept is known to be current. Waits up to
// g_noteFileBusyRetryMs for a file another process holds open, as the
// other reads do; false when the file cannot be opened.
bool ReadNoteTypedText(const wchar_t* path, std::wstring* text, NoteFileStamp* stamp);

// ReadNoteHead: shared/NoteHead.h. The program's own reads of a head, and
// its deletes, wait up to g_noteFileBusyRetryMs for a file another process
// (the Today item) holds open for a moment, as its saves do.
bool ReadNoteHeadWaiting(const wchar_t* path, NoteHead* head, NoteFileStamp* stamp = nullptr);
// False when the file is still there (a missing file counts as deleted).
bool DeleteNoteFile(const wchar_t* path);
// Runs visit(path, found) for every file of folder whose name ends in
// ending, found being what the folder's listing says of it (its name, its
// times). A name too long for a path is left out rather than cut to another
// file's name.
template <class Visit>
void ForEachFileEndingIn(const wchar_t* folder, const wchar_t* ending, Visit visit)
{
    wchar_t pattern[MAX_PATH];
    if (FormatText(pattern, MAX_PATH, L"%s\\*%s", folder, ending) < 0)
        return;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        wchar_t path[MAX_PATH];
        if (FormatText(path, MAX_PATH, L"%s\\%s", folder, found.cFileName) >= 0)
            visit(path, found);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// Deletes the saves a killed program left unfinished in folder (the note
// beside each is whole, old or new). Only for the program's start, before
// it saves anything.
void DropUnfinishedSaves(const wchar_t* folder);
// Gives a note file a name that must still be free, waiting as a save does
// for a file another process holds open. False leaves it where it was.
bool RenameNoteFile(const wchar_t* from, const wchar_t* to);

// The first free name "<folder>\Jotling<n>.jot", n from 0 to 999. False,
// with an empty buffer, when all of them are taken.
bool NewNoteFileName(const wchar_t* folder, const wchar_t* extension, wchar_t* buffer, size_t count);

// The record as the bytes of a note file, and back (used by the file
// routines; exposed so that both directions are tested on bytes).
BYTE* SerializeNote(const NoteRecord& record, DWORD* size);
void ParseNote(const BYTE* bytes, size_t size, NoteRecord* record);

// How long a save waits for a note file that another process (the Today
// item) holds open before it gives up.
extern DWORD g_noteFileBusyRetryMs;
