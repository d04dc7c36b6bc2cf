#include "tests/support/TestNotes.h"

#include "notes/NoteFile.h"

#include <string.h>

bool WriteTestNote(const std::wstring& path, const wchar_t* title, const SYSTEMTIME& expiry, BYTE expired,
                   const std::string& ink)
{
    NoteRecord record;
    wcsncpy(record.title, title, kTitleLength - 1);
    record.title[kTitleLength - 1] = L'\0';
    record.expiry = expiry;
    record.expired = expired;
    if (!ink.empty()) {
        BYTE* data = AllocateNoteData(DWORD(ink.size()));
        memcpy(data, ink.data(), ink.size());
        record.TakeData(data, DWORD(ink.size()));
    }
    return WriteNoteFile(path.c_str(), record);
}

void CutFile(const std::wstring& path, DWORD size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(file, LONG(size), nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}
