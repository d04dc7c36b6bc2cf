#include "formats/HeadCache.h"

#include <algorithm>

namespace formats {

namespace {

const char kHeadCacheTag[4] = {'J', 'H', 'C', '1'};
const size_t kMaxTitleUnits = kNoteTitleUnits - 1;
// A record's bytes beside its name and title: the two lengths, the stamp,
// the expiry and the two flags.
const size_t kRecordFixedBytes = 2 + 8 + 8 + 16 + 2 + 1 + 1;

uint64_t U64(LeReader& in)
{
    uint64_t low = in.U32();
    return low | uint64_t(in.U32()) << 32;
}

void WriteU64(LeWriter& out, uint64_t value)
{
    out.U32(uint32_t(value));
    out.U32(uint32_t(value >> 32));
}

void WriteUnits(LeWriter& out, const char16_t* units, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out.U16(uint16_t(units[i]));
}

uint16_t UnitAt(const uint8_t* at, size_t index)
{
    return uint16_t(at[2 * index] | at[2 * index + 1] << 8);
}

}  // namespace

uint32_t Crc32(const uint8_t* bytes, size_t size)
{
    static uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        made = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> WriteHeadCache(const std::u16string& folder, const std::vector<HeadCacheRecord>& records)
{
    std::vector<const HeadCacheRecord*> order;
    order.reserve(records.size());
    for (const HeadCacheRecord& record : records) {
        if (!record.name.empty() && record.name.size() <= kHeadCacheMaxName)
            order.push_back(&record);
    }
    std::sort(order.begin(), order.end(),
              [](const HeadCacheRecord* a, const HeadCacheRecord* b) { return a->name < b->name; });
    // Names must rise strictly: the reader refuses a file where they do not.
    order.erase(std::unique(order.begin(), order.end(),
                            [](const HeadCacheRecord* a, const HeadCacheRecord* b) { return a->name == b->name; }),
                order.end());

    std::vector<uint8_t> bytes;
    LeWriter out(bytes);
    out.Tag(kHeadCacheTag);
    out.U32(uint32_t(folder.size()));
    WriteUnits(out, folder.data(), folder.size());
    out.U32(uint32_t(order.size()));
    for (const HeadCacheRecord* record : order) {
        out.U16(uint16_t(record->name.size()));
        WriteUnits(out, record->name.data(), record->name.size());
        WriteU64(out, record->stamp.written);
        WriteU64(out, record->stamp.size);
        WriteNoteTime(out, record->expiry);
        size_t title = std::min(record->title.find(u'\0'), std::min(record->title.size(), kMaxTitleUnits));
        out.U16(uint16_t(title));
        WriteUnits(out, record->title.data(), title);
        out.U8(record->expired);
        out.U8(record->whole ? 1 : 0);
    }
    out.U32(Crc32(bytes.data(), bytes.size()));
    return bytes;
}

bool HeadCacheView::Open(const uint8_t* bytes, size_t size, const std::u16string& folder)
{
    bytes_ = nullptr;
    records_.clear();
    if (bytes == nullptr || size < 4 + 4 + 4 + 4)
        return false;
    // The checksum first: a damaged file is no cache, whichever byte went.
    LeReader sum(bytes + size - 4, 4);
    if (sum.U32() != Crc32(bytes, size - 4))
        return false;
    LeReader in(bytes, size - 4);
    if (!in.TagIs(kHeadCacheTag))
        return false;
    uint32_t folderUnits = in.U32();
    if (folderUnits != folder.size() || in.Remaining() < size_t(folderUnits) * 2)
        return false;
    const uint8_t* folderAt = in.Take(size_t(folderUnits) * 2);
    for (size_t i = 0; i < folder.size(); ++i) {
        if (UnitAt(folderAt, i) != uint16_t(folder[i]))
            return false;
    }
    uint32_t count = in.U32();
    bytes_ = bytes;
    size_ = size;
    if (in.Failed() || !ReadRecords(in, count) || in.Remaining() != 0) {
        bytes_ = nullptr;
        records_.clear();
        return false;
    }
    return true;
}

bool HeadCacheView::ReadRecords(LeReader& in, uint32_t count)
{
    // Every record takes its fixed bytes and a name of one unit at least: a
    // count the file cannot hold is refused before anything is reserved.
    if (count > in.Remaining() / (kRecordFixedBytes + 2))
        return false;
    records_.reserve(count);
    for (uint32_t r = 0; r < count; ++r) {
        size_t at = in.Position();
        uint16_t nameUnits = in.U16();
        if (nameUnits == 0 || nameUnits > kHeadCacheMaxName || in.Take(size_t(nameUnits) * 2) == nullptr)
            return false;
        if (in.Take(8 + 8 + 16) == nullptr)
            return false;
        uint16_t titleUnits = in.U16();
        if (titleUnits > kMaxTitleUnits || in.Take(size_t(titleUnits) * 2) == nullptr)
            return false;
        uint8_t expired = in.U8();
        uint8_t whole = in.U8();
        if (in.Failed() || expired > 1 || whole > 1)
            return false;
        // Names rise strictly, as they were written: a lookup halves its
        // way to the only record of a name.
        if (!records_.empty() && CompareNames(records_.back(), at) >= 0)
            return false;
        records_.push_back(uint32_t(at));
    }
    return true;
}

int HeadCacheView::CompareNames(size_t record, size_t other) const
{
    const uint8_t* a = bytes_ + record;
    const uint8_t* b = bytes_ + other;
    size_t aUnits = UnitAt(a, 0), bUnits = UnitAt(b, 0);
    for (size_t i = 0; i < std::min(aUnits, bUnits); ++i) {
        uint16_t x = UnitAt(a + 2, i), y = UnitAt(b + 2, i);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return aUnits < bUnits ? -1 : aUnits > bUnits ? 1 : 0;
}

int HeadCacheView::CompareName(size_t record, const char16_t* name, size_t length) const
{
    const uint8_t* at = bytes_ + record;
    size_t units = UnitAt(at, 0);
    size_t common = std::min(units, length);
    for (size_t i = 0; i < common; ++i) {
        uint16_t a = UnitAt(at + 2, i), b = uint16_t(name[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return units < length ? -1 : units > length ? 1 : 0;
}

bool HeadCacheView::Find(const char16_t* name, size_t length, const FileStamp& stamp, CachedHead* head) const
{
    if (bytes_ == nullptr || name == nullptr)
        return false;
    auto first = std::lower_bound(records_.begin(), records_.end(), 0, [&](uint32_t record, int) {
        return CompareName(record, name, length) < 0;
    });
    if (first == records_.end() || CompareName(*first, name, length) != 0)
        return false;
    // Checked whole when opened: these reads stay inside the record.
    LeReader in(bytes_ + *first, size_ - *first);
    in.Skip(2 * size_t(in.U16()));
    FileStamp kept;
    kept.written = U64(in);
    kept.size = U64(in);
    if (kept != stamp)
        return false;
    ReadNoteTime(in, &head->expiry);
    uint16_t titleUnits = in.U16();
    for (size_t i = 0; i < kNoteTitleUnits; ++i)
        head->title[i] = i < titleUnits ? in.U16() : 0;
    head->expired = in.U8();
    head->whole = in.U8() != 0;
    return true;
}

}  // namespace formats
