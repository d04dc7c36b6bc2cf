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

bool ReadNoteHead(const wchar_t* path, NoteHead* head)
{
    // Exclusive, as every open of a note file: a head is never read while
    // the program writes the note.
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE bytes[formats::kNoteHeaderSize];
    DWORD got = 0;
    LARGE_INTEGER size = {};
    BOOL read = ReadFile(file, bytes, sizeof bytes, &got, nullptr) && GetFileSizeEx(file, &size);
    CloseHandle(file);
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
        head->whole = ULONGLONG(size.QuadPart) >= formats::kNoteHeaderSize + ULONGLONG(claimed);
    }
    return true;
}
