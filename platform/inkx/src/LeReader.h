// Reads little-endian values from a byte range without ever leaving it: a
// read past the end yields zero and marks the reader failed, so parsers can
// check once after a group of reads.
#pragma once

#include <stddef.h>
#include <stdint.h>

class LeReader {
public:
    LeReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // Points at the next count bytes and skips them; null when fewer remain.
    const uint8_t* Take(size_t count);
    bool TagIs(const char tag[4]);

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool Failed() const { return failed_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};
