#include "formats/LeWriter.h"

namespace formats {

void LeWriter::U16(uint16_t v)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    out_.insert(out_.end(), bytes, bytes + 2);
}

void LeWriter::U32(uint32_t v)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    out_.insert(out_.end(), bytes, bytes + 4);
}

void LeWriter::Bytes(const void* data, size_t size)
{
    if (size == 0)
        return;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    out_.insert(out_.end(), p, p + size);
}

void LeWriter::PatchU32(size_t at, uint32_t v)
{
    if (at > out_.size() || out_.size() - at < 4)
        return;
    for (int i = 0; i < 4; ++i)
        out_[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace formats
