#include "notes/NoteFile.h"

#include "platform/common/Text.h"

#include "formats/NoteLayout.h"
#include "formats/NoteTextScan.h"

#include <string.h>

#include <vector>

DWORD g_noteFileBusyRetryMs = 2000;

namespace {

const wchar_t kSavingSuffix[] = L".saving";
const DWORD kRetryStepMs = 50;

HANDLE OpenExclusive(const wchar_t* path, DWORD access, DWORD disposition)
{
    return CreateFileW(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool IsBusy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Runs attempt until it succeeds, or fails for another reason than a file
// held open by another process, or the wait is over.
template <class Attempt>
bool RetryWhileBusy(Attempt attempt)
{
    for (DWORD waited = 0;; waited += kRetryStepMs) {
        SetLastError(ERROR_SUCCESS);
        if (attempt())
            return true;
        if (!IsBusy(GetLastError()) || waited >= g_noteFileBusyRetryMs)
            return false;
        Sleep(kRetryStepMs);
    }
}

// Reads a whole file. The data can never be more than the file holds.
BYTE* ReadWholeFile(const wchar_t* path, DWORD* size)
{
    HANDLE file = OpenExclusive(path, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER length;
    BYTE* bytes = nullptr;
    DWORD got = 0;
    if (GetFileSizeEx(file, &length) && length.QuadPart < 0x7FFFFFFF) {
        bytes = AllocateNoteData(DWORD(length.QuadPart));
        if (bytes != nullptr && !ReadFile(file, bytes, DWORD(length.QuadPart), &got, nullptr))
            got = 0;
    }
    CloseHandle(file);
    *size = got;
    return bytes;
}

// An open file read at offsets; the handle's own position is not used.
class FileSource : public formats::ByteSource {
public:
    explicit FileSource(HANDLE file) : file(file) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override
    {
        OVERLAPPED at = {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD got = 0;
        if (size > 0x7FFFFFFF || !ReadFile(file, buffer, DWORD(size), &got, &at))
            return 0;
        return got;
    }

private:
    HANDLE file;
};

}  // namespace

BYTE* SerializeNote(const NoteRecord& record, DWORD* size)
{
    uint16_t title[formats::kNoteTitleUnits];
    for (size_t i = 0; i < formats::kNoteTitleUnits; ++i)
        title[i] = record.title[i];
    std::vector<uint8_t> file;
    DWORD dataLength = record.data != nullptr ? record.dataLength : 0;
    file.reserve(kNoteFileHeaderSize + dataLength);
    formats::LeWriter out(file);
    formats::WriteNoteFile(out, ToNoteTime(record.expiry), title, record.expired, record.zoom,
                           record.data, dataLength);
    *size = DWORD(file.size());
    BYTE* bytes = AllocateNoteData(*size);
    if (bytes != nullptr)
        memcpy(bytes, file.data(), file.size());
    return bytes;
}

void ParseNote(const BYTE* bytes, size_t size, NoteRecord* record)
{
    record->ClearData();
    formats::NoteFields f;
    formats::ReadNoteFields(bytes, size, &f);
    // Every field the file holds whole is taken; those after the damage stay.
    if (f.extent == formats::NoteExtent::Nothing)
        return;
    record->expiry = FromNoteTime(f.expiry);
    for (size_t i = 0; i < formats::kNoteTitleUnits; ++i)
        record->title[i] = f.title[i];
    if (f.extent >= formats::NoteExtent::Head)
        record->expired = f.expired;
    if (f.extent >= formats::NoteExtent::Zoom)
        record->zoom = f.zoom;
    // A length beyond the end of the file is cut to what the file holds.
    if (f.dataLength == 0)
        return;
    BYTE* data = AllocateNoteData(DWORD(f.dataLength));
    if (data == nullptr)
        return;
    memcpy(data, f.data, f.dataLength);
    record->TakeData(data, DWORD(f.dataLength));
}

bool WriteNoteFile(const wchar_t* path, const NoteRecord& record)
{
    wchar_t saving[MAX_PATH];
    if (path == nullptr || FormatText(saving, MAX_PATH, L"%s%s", path, kSavingSuffix) < 0)
        return false;
    DWORD size = 0;
    BYTE* bytes = SerializeNote(record, &size);
    if (bytes == nullptr)
        return false;

    HANDLE file = OpenExclusive(saving, GENERIC_WRITE, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        FreeNoteData(bytes);
        return false;
    }
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    // The note keeps its creation time: the list orders notes that never
    // expire by it. (Wine's file systems keep no settable creation time.)
    WIN32_FILE_ATTRIBUTE_DATA old;
    if (whole && GetFileAttributesExW(path, GetFileExInfoStandard, &old))
        SetFileTime(file, &old.ftCreationTime, nullptr, nullptr);
    CloseHandle(file);
    FreeNoteData(bytes);
    if (!whole) {
        // A full disk: the old note stays as it was.
        DeleteFileW(saving);
        return false;
    }

    // One rename puts the finished save in the note's place, so a crash
    // leaves the old note or the new one. (ReplaceFileW is no such single
    // step under Wine: it moves the old note aside first.) The Today item
    // opens note files exclusively for a moment while it reads their heads;
    // wait for it rather than lose the save.
    if (RetryWhileBusy([&] { return MoveFileExW(saving, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); }))
        return true;
    DeleteFileW(saving);
    return false;
}

bool ReadNoteFile(const wchar_t* path, NoteRecord* record)
{
    record->ClearData();
    DWORD size = 0;
    BYTE* bytes = ReadWholeFile(path, &size);
    if (bytes == nullptr)
        return false;
    ParseNote(bytes, size, record);
    FreeNoteData(bytes);
    return true;
}

bool ReadWholeNoteFile(const wchar_t* path, NoteRecord* record)
{
    record->ClearData();
    DWORD size = 0;
    BYTE* bytes = nullptr;
    if (!RetryWhileBusy([&] { return (bytes = ReadWholeFile(path, &size)) != nullptr; }))
        return false;
    formats::NoteFields fields;
    formats::ReadNoteFields(bytes, size, &fields);
    bool whole = fields.Whole();
    if (whole)
        ParseNote(bytes, size, record);
    FreeNoteData(bytes);
    return whole;
}

bool ReadNoteTypedText(const wchar_t* path, std::wstring* text, NoteFileStamp* stamp)
{
    text->clear();
    HANDLE file = INVALID_HANDLE_VALUE;
    if (path == nullptr ||
        !RetryWhileBusy([&] { return (file = OpenExclusive(path, GENERIC_READ, OPEN_EXISTING)) != INVALID_HANDLE_VALUE; }))
        return false;
    // The two calls, not GetFileInformationByHandle: under Wine that asks
    // for the volume's details too, a cost paid again for every note: the
    // first find over 10,000 notes took several times as long with it.
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file, &length) || !GetFileTime(file, nullptr, nullptr, &stamp->written)) {
        CloseHandle(file);
        return false;
    }
    stamp->size = uint64_t(length.QuadPart);
    FileSource source(file);
    std::u16string units = formats::ScanNoteText(source, stamp->size);
    CloseHandle(file);
    text->assign(units.begin(), units.end());
    return true;
}

bool NewNoteFileName(const wchar_t* folder, const wchar_t* extension, wchar_t* buffer, size_t count)
{
    for (int n = 0; n < kMaxNoteFiles; ++n) {
        if (FormatText(buffer, count, L"%s\\Jotling%d%s", folder, n, extension) < 0)
            break;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(buffer, &found);
        if (find == INVALID_HANDLE_VALUE)
            return true;
        FindClose(find);
    }
    if (count > 0)
        buffer[0] = L'\0';
    return false;
}

bool ReadNoteHeadWaiting(const wchar_t* path, NoteHead* head, NoteFileStamp* stamp)
{
    return path != nullptr && RetryWhileBusy([&] { return ReadNoteHead(path, head, stamp); });
}

bool DeleteNoteFile(const wchar_t* path)
{
    if (path == nullptr)
        return false;
    return RetryWhileBusy([&] {
        return DeleteFileW(path) || GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    });
}

bool RenameNoteFile(const wchar_t* from, const wchar_t* to)
{
    return from != nullptr && to != nullptr &&
           RetryWhileBusy([&] { return MoveFileExW(from, to, MOVEFILE_WRITE_THROUGH); });
}

void DropUnfinishedSaves(const wchar_t* folder)
{
    ForEachFileEndingIn(folder, kSavingSuffix, [](const wchar_t* path, const WIN32_FIND_DATAW&) { DeleteFileW(path); });
}
