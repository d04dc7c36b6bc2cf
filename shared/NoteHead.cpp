#include "shared/NoteHead.h"

SYSTEMTIME FromNoteTime(const formats::NoteTime& t)
{
    SYSTEMTIME s;
    s.wYear = t.year;
    s.wMonth = t.month;
    s.wDayOfWeek = t.dayOfWeek;
    s.wDay = t.day;
    s.wHour = t.hour;
    s.wMinute = t.minute;
    s.wSecond = t.second;
    s.wMilliseconds = t.milliseconds;
    return s;
}

formats::NoteTime ToNoteTime(const SYSTEMTIME& s)
{
    return {s.wYear, s.wMonth, s.wDayOfWeek, s.wDay, s.wHour, s.wMinute, s.wSecond, s.wMilliseconds};
}

namespace {

// Two seconds of a card's times, and one more for a clock read a moment
// off the file system's.
const ULONGLONG kSettleTicks = 3ull * 10000000ull;

ULONGLONG Ticks(const FILETIME& time)
{
    return ULONGLONG(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

}  // namespace

NoteFileStamp StampOf(const WIN32_FIND_DATAW& found)
{
    NoteFileStamp stamp;
    stamp.written = found.ftLastWriteTime;
    stamp.size = ULONGLONG(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    return stamp;
}

formats::FileStamp ToFileStamp(const NoteFileStamp& stamp)
{
    formats::FileStamp out;
    out.written = Ticks(stamp.written);
    out.size = stamp.size;
    return out;
}

bool StampSettled(const NoteFileStamp& stamp, const FILETIME& readAt)
{
    return Ticks(stamp.written) + kSettleTicks <= Ticks(readAt);
}

bool ReadNoteHead(const wchar_t* path, NoteHead* head, NoteFileStamp* stamp)
{
    // Exclusive, as every open of a note file: a head is never read while
    // the program writes the note.
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE bytes[formats::kNoteHeaderSize];
    DWORD got = 0;
    // Not GetFileInformationByHandle: under Wine it asks for the volume's
    // details as well: a start reading 10,000 heads took 3.8 to 9.7 s with
    // it, 1.3 to 2.3 s without.
    LARGE_INTEGER length = {};
    FILETIME written = {};
    BOOL read = ReadFile(file, bytes, sizeof bytes, &got, nullptr) && GetFileSizeEx(file, &length) &&
                (stamp == nullptr || GetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    ULONGLONG size = ULONGLONG(length.QuadPart);
    if (!read || got < kNoteHeadSize) {
        // Too short for a head: no note, whatever error came before.
        if (read)
            SetLastError(ERROR_HANDLE_EOF);
        return false;
    }
    formats::LeReader in(bytes, got);
    formats::NoteTime expiry;
    uint16_t title[formats::kNoteTitleUnits];
    formats::ReadNoteTime(in, &expiry);
    formats::ReadNoteTitle(in, title);
    head->expiry = FromNoteTime(expiry);
    for (size_t i = 0; i < formats::kNoteTitleUnits; ++i)
        head->title[i] = title[i];
    head->expired = in.U8();
    head->whole = false;
    if (got >= formats::kNoteHeaderSize) {
        in.U32();   // the zoom
        uint32_t claimed = in.U32();
        head->whole = size >= formats::kNoteHeaderSize + ULONGLONG(claimed);
    }
    if (stamp != nullptr) {
        stamp->written = written;
        stamp->size = size;
    }
    return true;
}
