#include "tests/support/TestNotes.h"

#include "formats/InkContent.h"
#include "formats/WaveBlock.h"
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

FILETIME WrittenTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetWrittenTime(const std::wstring& path, const FILETIME& time)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

void Backdate(const std::wstring& path, int seconds)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks = {{now.dwLowDateTime, now.dwHighDateTime}};
    ticks.QuadPart -= ULONGLONG(seconds) * 10000000ull;
    SetWrittenTime(path, FILETIME{ticks.LowPart, ticks.HighPart});
}

std::string InkWithText(const std::wstring& text, size_t recordingBytes)
{
    formats::InkContent content;
    if (recordingBytes > 0) {
        std::vector<uint8_t> samples(recordingBytes, 0x80);
        content.recordings.push_back({40, 40, formats::BuildWave(samples.data(), samples.size(), 11025, 1, 8)});
    }
    formats::InkStrokeData stroke;
    stroke.points = {{10, 10}, {200, 90}};
    content.strokes.push_back(stroke);
    content.text.assign(text.begin(), text.end());
    std::vector<uint8_t> bytes;
    formats::WriteInkContent(content, bytes);
    return std::string(bytes.begin(), bytes.end());
}
