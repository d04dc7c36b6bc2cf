#include "notes/HeadCacheFile.h"

#include "platform/common/Text.h"

#include <wchar.h>

namespace {

// Far more than any cache of the notes a folder can name: a file larger
// than this is no cache of ours.
const LONGLONG kMaxCacheBytes = 64ll << 20;
const wchar_t kWritingSuffix[] = L".new";

std::u16string Units(const wchar_t* text, size_t length)
{
    return std::u16string(text, text + length);
}

}  // namespace

HeadCacheFile::HeadCacheFile(const wchar_t* cachePath, const wchar_t* notesFolder)
    : path(cachePath != nullptr ? cachePath : L""),
      folder(notesFolder != nullptr ? Units(notesFolder, wcslen(notesFolder)) : u"")
{
}

void HeadCacheFile::Load()
{
    bytes.clear();
    view = formats::HeadCacheView();
    if (path.empty())
        return;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size = {};
    DWORD got = 0;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxCacheBytes) {
        bytes.resize(size_t(size.QuadPart));
        if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr))
            got = 0;
    }
    CloseHandle(file);
    bytes.resize(got);
    if (!view.Open(bytes.data(), bytes.size(), folder))
        bytes = std::vector<uint8_t>();
}

bool HeadCacheFile::Find(const WIN32_FIND_DATAW& found, NoteHead* head) const
{
    if (view.Count() == 0)
        return false;
    char16_t name[MAX_PATH];
    size_t length = 0;
    while (length < MAX_PATH && found.cFileName[length] != L'\0') {
        name[length] = char16_t(found.cFileName[length]);
        ++length;
    }
    formats::CachedHead kept;
    if (!view.Find(name, length, ToFileStamp(StampOf(found)), &kept))
        return false;
    head->expiry = FromNoteTime(kept.expiry);
    for (size_t i = 0; i < formats::kNoteTitleUnits; ++i)
        head->title[i] = wchar_t(kept.title[i]);
    head->expired = kept.expired;
    head->whole = kept.whole;
    return true;
}

bool HeadCacheFile::Save(NoteEntryList& entries) const
{
    if (path.empty())
        return false;
    std::vector<formats::HeadCacheRecord> records;
    {
        NoteEntryLock lock(entries);
        for (const NoteEntry* e = entries.First(); e != nullptr; e = e->next) {
            const wchar_t* name = wcsrchr(e->path.c_str(), L'\\');
            if (!e->settled || name == nullptr)
                continue;
            formats::HeadCacheRecord record;
            record.name = Units(name + 1, wcslen(name + 1));
            record.stamp = ToFileStamp(e->stamp);
            record.expiry = ToNoteTime(e->expiry);
            record.title = Units(e->title.c_str(), e->title.size());
            record.expired = e->expired;
            record.whole = e->whole;
            records.push_back(std::move(record));
        }
    }
    std::vector<uint8_t> written = formats::WriteHeadCache(folder, records);
    records = std::vector<formats::HeadCacheRecord>();

    // Written beside the cache and put in its place in one step: a reader
    // finds the old file or the new one, and a cut write is no cache.
    std::wstring writing = path + kWritingSuffix;
    HANDLE file = CreateFileW(writing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    bool whole = WriteFile(file, written.data(), DWORD(written.size()), &done, nullptr) && done == written.size();
    CloseHandle(file);
    if (whole && MoveFileExW(writing.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(writing.c_str());
    return false;
}
