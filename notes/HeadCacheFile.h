// The store's head cache on disk (formats/HeadCache.h): read at a start,
// so that a head is read from its note file only when the folder's listing
// shows the file's size or last write time changed, and written again when
// the list knows heads it did not hold. The file lies in the program's
// application data folder, never among the notes, and is named as no note
// is. Losing it, or finding it damaged or of another folder, costs the
// reads and nothing else.
#pragma once

#include "notes/NoteEntryList.h"
#include "shared/NoteHead.h"

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

class HeadCacheFile {
public:
    // path: the cache file; folder: the notes folder it is for.
    HeadCacheFile(const wchar_t* path, const wchar_t* folder);
    HeadCacheFile(const HeadCacheFile&) = delete;
    HeadCacheFile& operator=(const HeadCacheFile&) = delete;

    // Reads the file; a missing, damaged or foreign one holds nothing.
    void Load();
    size_t Count() const { return view.Count(); }
    // The head kept for the file the listing shows as found, when the
    // listing's size and last write time are those kept.
    bool Find(const WIN32_FIND_DATAW& found, NoteHead* head) const;

    // Replaces the file, in one step, with the settled heads of entries.
    // False leaves the old file (or none).
    bool Save(NoteEntryList& entries) const;

private:
    std::wstring path;
    std::u16string folder;
    std::vector<uint8_t> bytes;
    formats::HeadCacheView view;
};
