// Appends little-endian values to a byte vector, whatever the host's order:
// the one writer of our formats.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace formats {

class LeWriter {
public:
    explicit LeWriter(std::vector<uint8_t>& out) : out_(out) {}

    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Bytes(const void* data, size_t size);
    void Tag(const char tag[4]) { Bytes(tag, 4); }

    size_t Size() const { return out_.size(); }
    // Rewrites a 32-bit value written earlier (lengths known only later).
    void PatchU32(size_t at, uint32_t v);

private:
    std::vector<uint8_t>& out_;
};

}  // namespace formats
