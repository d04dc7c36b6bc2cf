// The typed text of a note file, read without the rest of the file. Finding
// notes by their text reads every note, and a note's recordings are most of
// its bytes (a minute is over a megabyte): the scan reads the file's head,
// the chunks' headers and the "TEXT" payloads, and steps over every other
// chunk by its length. The text is the one ReadInkContent finds in the
// file's data, a damaged file's included: what could be read of it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

namespace formats {

// Bytes read at an offset: a file on the device, a block in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes from offset into buffer and returns the count
    // read, which is short only at the end of the bytes or on a failure.
    virtual size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) = 0;
};

// A block in memory as a source.
class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(data != nullptr ? size : 0) {}
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;

private:
    const uint8_t* data_;
    size_t size_;
};

// The typed text of the note file that source holds, size bytes long.
std::u16string ScanNoteText(ByteSource& source, uint64_t size);

}  // namespace formats
