#include "notes/NoteHead.h"

bool ReadNoteTime(ByteReader& in, SYSTEMTIME* t)
{
    if (in.Remaining() < 16)
        return false;
    in.U16(&t->wYear);
    in.U16(&t->wMonth);
    in.U16(&t->wDayOfWeek);
    in.U16(&t->wDay);
    in.U16(&t->wHour);
    in.U16(&t->wMinute);
    in.U16(&t->wSecond);
    in.U16(&t->wMilliseconds);
    return true;
}

void ReadNoteTitle(ByteReader& in, wchar_t* title)
{
    int units = 0;
    for (; units < kTitleLength; ++units) {
        WORD unit;
        if (!in.U16(&unit))
            break;
        title[units] = unit;
    }
    for (int i = units; i < kTitleLength; ++i)
        title[i] = L'\0';
    title[kTitleLength - 1] = L'\0';
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
    if (!read || got < kNoteHeadSize)
        return false;
    ByteReader in(bytes, got);
    ReadNoteTime(in, &head->expiry);
    ReadNoteTitle(in, head->title);
    in.U8(&head->expired);
    return true;
}
