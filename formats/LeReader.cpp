#include "formats/LeReader.h"

#include <string.h>

namespace formats {

const uint8_t* LeReader::Take(size_t count)
{
    if (failed_ || count > size_ - pos_) {
        failed_ = true;
        pos_ = size_;
        return nullptr;
    }
    const uint8_t* p = data_ + pos_;
    pos_ += count;
    return p;
}

void LeReader::Skip(size_t count)
{
    pos_ += count < Remaining() ? count : Remaining();
}

uint8_t LeReader::U8()
{
    const uint8_t* p = Take(1);
    return p ? p[0] : 0;
}

uint16_t LeReader::U16()
{
    const uint8_t* p = Take(2);
    return p ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : 0;
}

uint32_t LeReader::U32()
{
    const uint8_t* p = Take(4);
    if (!p)
        return 0;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool LeReader::TagIs(const char tag[4])
{
    const uint8_t* p = Take(4);
    return p && memcmp(p, tag, 4) == 0;
}

}  // namespace formats
