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
    BYTE bytes[kNoteHeadSize];
    DWORD got = 0;
    BOOL read = ReadFile(file, bytes, kNoteHeadSize, &got, nullptr);
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
    return true;
}
