// The head of a note file: the first 527 bytes (expiry, title, expired
// flag), all that a list of notes needs. The program's note store and the
// Today item both list notes through ReadNoteHead; it is built into the
// small library both link (jotlings_shared).
#pragma once

#include "formats/HeadCache.h"
#include "formats/NoteLayout.h"

#include <windows.h>

// A title's UTF-16 units in a note, its terminator included: at most 254
// characters.
const int kTitleLength = 255;

const DWORD kNoteHeadSize = formats::kNoteHeadSize;

struct NoteHead {
    SYSTEMTIME expiry;
    wchar_t title[kTitleLength];
    BYTE expired;
    // The file holds the zoom, the data length and all the data that length
    // claims: only such a note can be opened, and so come up as an alarm.
    bool whole;
};

// What a file's last write time and size were when it was read: the
// folder's listing gives both, and while they stay the same the file is
// taken to hold what was read (a head, a text).
struct NoteFileStamp {
    FILETIME written = {};
    unsigned long long size = 0;
    bool operator==(const NoteFileStamp& other) const
    {
        return CompareFileTime(&written, &other.written) == 0 && size == other.size;
    }
    bool operator!=(const NoteFileStamp& other) const { return !(*this == other); }
};
NoteFileStamp StampOf(const WIN32_FIND_DATAW& found);
formats::FileStamp ToFileStamp(const NoteFileStamp& stamp);
// A file system may keep write times to 2 s (a storage card does): a file
// written again within that tick of the read keeps its stamp. A head read
// at readAt is trusted by its stamp only when its file was written a few
// seconds before; one read sooner is read again next time.
bool StampSettled(const NoteFileStamp& stamp, const FILETIME& readAt);

// Reads expiry, title and expired flag, and tells whether the rest of the
// note is there by the file's size. False when the file cannot be opened
// or is too short for a head: such a file is not listed. stamp, when given,
// gets the open file's stamp, that of the bytes read.
bool ReadNoteHead(const wchar_t* path, NoteHead* head, NoteFileStamp* stamp = nullptr);

// The file's fields and the record's: the file lays out the expiry's
// SYSTEMTIME fields in order and the title as 16-bit units, which wchar_t
// is on the device.
static_assert(sizeof(wchar_t) == 2, "titles are UTF-16 units");
SYSTEMTIME FromNoteTime(const formats::NoteTime& time);
formats::NoteTime ToNoteTime(const SYSTEMTIME& time);
