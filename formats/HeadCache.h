// The head cache: the heads of a notes folder's files as they were read,
// each known by its file's name, size and last write time, so that a start
// reads only the heads whose files the folder's listing shows changed. It
// is a cache and no more: a file that is missing, damaged, cut short or of
// another folder holds nothing, and a note not in it is read.
//
//   offset  size  field
//        0     4  "JHC1"
//        4     4  folder length F in UTF-16 units
//        8    2F  the notes folder, UTF-16LE
//             4  record count
//                 each record, in ascending order of name (unit by unit):
//             2    name length L (1 to 259 units)
//            2L    the file's name in the folder, UTF-16LE
//             8    last write time (a FILETIME's 100 ns units)
//             8    file size
//            16    expiry, as in the note file
//             2    title length T (0 to 254 units)
//            2T    title, UTF-16LE, without its terminator
//             1    expired flag
//             1    whole: the file held all the data its head claims
//   end - 4     4  CRC-32 of every byte before it
//
// All integers are little-endian.
#pragma once

#include "formats/NoteLayout.h"

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace formats {

const size_t kHeadCacheMaxName = 259;

// What says a file is the one whose head was read.
struct FileStamp {
    uint64_t written = 0;   // last write time
    uint64_t size = 0;
    bool operator==(const FileStamp& other) const { return written == other.written && size == other.size; }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

struct CachedHead {
    NoteTime expiry = {};
    uint16_t title[kNoteTitleUnits] = {};   // terminated within its units
    uint8_t expired = 0;
    bool whole = false;
};

// One head to be written; a title is cut at its terminator and to 254
// units.
struct HeadCacheRecord {
    std::u16string name;
    FileStamp stamp;
    NoteTime expiry = {};
    std::u16string title;
    uint8_t expired = 0;
    bool whole = false;
};

// The bytes of a cache of folder holding records (in any order; a name
// given twice, empty or too long is left out).
std::vector<uint8_t> WriteHeadCache(const std::u16string& folder, const std::vector<HeadCacheRecord>& records);

// A cache file's bytes, checked whole when opened and then looked up in
// place; the bytes must outlive it.
class HeadCacheView {
public:
    // False, and holding nothing, unless bytes are a whole, undamaged
    // cache of folder.
    bool Open(const uint8_t* bytes, size_t size, const std::u16string& folder);
    size_t Count() const { return records_.size(); }
    // The head kept for the file named name (length units) when its stamp
    // is the one kept.
    bool Find(const char16_t* name, size_t length, const FileStamp& stamp, CachedHead* head) const;

private:
    bool ReadRecords(LeReader& in, uint32_t count);
    int CompareName(size_t record, const char16_t* name, size_t length) const;
    int CompareNames(size_t record, size_t other) const;

    const uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
    std::vector<uint32_t> records_;   // offset of each record's name length
};

// CRC-32 (the polynomial of zip and PNG).
uint32_t Crc32(const uint8_t* bytes, size_t size);

}  // namespace formats
