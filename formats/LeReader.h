// Reads little-endian values from a byte range without ever leaving it: a
// read past the end yields zero and marks the reader failed, so a parser
// checks once after a group of reads. Every reader of our formats goes
// through this one class, on the device and on the desktop alike.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace formats {

class LeReader {
public:
    LeReader(const uint8_t* data, size_t size) : data_(data), size_(data != nullptr ? size : 0) {}

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // Points at the next count bytes and moves past them; null, and failed,
    // when fewer remain.
    const uint8_t* Take(size_t count);
    // Moves past count bytes, or to the end when fewer remain (not a failure).
    void Skip(size_t count);
    bool TagIs(const char tag[4]);

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    const uint8_t* Current() const { return data_ + pos_; }
    bool Failed() const { return failed_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace formats
