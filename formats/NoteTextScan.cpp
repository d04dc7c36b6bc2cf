#include "formats/NoteTextScan.h"

#include "formats/InkContent.h"
#include "formats/NoteLayout.h"

#include <string.h>

#include <vector>

namespace formats {

namespace {

// Bytes are read a window at a time: a note's strokes are thousands of
// small chunks, and each read of a file on the device is a call to the
// system.
const size_t kWindowBytes = 64 * 1024;

class Window {
public:
    Window(ByteSource& source, uint64_t size) : source_(source), size_(size) {}

    // The count bytes at offset; null when the source does not give them.
    const uint8_t* At(uint64_t offset, size_t count)
    {
        if (offset > size_ || count > size_ - offset)
            return nullptr;
        if (offset >= start_ && offset - start_ + count <= bytes_.size())
            return bytes_.data() + (offset - start_);
        uint64_t want = count > kWindowBytes ? count : kWindowBytes;
        if (want > size_ - offset)
            want = size_ - offset;
        bytes_.resize(static_cast<size_t>(want));
        size_t got = want > 0 ? source_.ReadAt(offset, bytes_.data(), bytes_.size()) : 0;
        bytes_.resize(got < bytes_.size() ? got : bytes_.size());
        start_ = offset;
        return bytes_.size() >= count ? bytes_.data() : nullptr;
    }

private:
    ByteSource& source_;
    uint64_t size_;
    uint64_t start_ = 0;
    std::vector<uint8_t> bytes_;
};

uint32_t LittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

size_t MemorySource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size)
{
    if (offset >= size_)
        return 0;
    size_t count = size < size_ - offset ? size : static_cast<size_t>(size_ - offset);
    memcpy(buffer, data_ + offset, count);
    return count;
}

// The walk is InkChunkReader's: the same magic, the same stops (a length
// past the data, "END "), every "TEXT" payload through ReadInkText.
std::u16string ScanNoteText(ByteSource& source, uint64_t size)
{
    std::u16string text;
    Window file(source, size);
    const uint8_t* header = file.At(0, kNoteHeaderSize);
    if (header == nullptr)
        return text;
    NoteFields fields;
    ReadNoteFields(header, kNoteHeaderSize, &fields);
    uint64_t held = size - kNoteHeaderSize;
    uint64_t end = kNoteHeaderSize + (fields.claimedLength < held ? fields.claimedLength : held);
    uint64_t at = kNoteHeaderSize;
    const uint8_t* magic = end - at >= 8 ? file.At(at, 8) : nullptr;
    if (magic == nullptr || memcmp(magic, "INKX", 4) != 0)
        return text;   // no content, or a bare wave: no text either way
    at += 8;
    while (end - at >= 8) {
        const uint8_t* head = file.At(at, 8);
        if (head == nullptr)
            break;
        uint32_t length = LittleEndian32(head + 4);
        if (length > end - at - 8 || memcmp(head, "END ", 4) == 0)
            break;
        if (memcmp(head, "TEXT", 4) == 0) {
            const uint8_t* payload = file.At(at + 8, length);
            if (payload == nullptr)
                break;
            ReadInkText(payload, length, &text);
        }
        at += 8 + uint64_t(length);
    }
    return text;
}

}  // namespace formats
