// The head cache's reader, as a start of the program reads the file it left:
// any bytes open inside themselves or not at all. The bytes are tried as
// they came and with their checksum made right, so that the records behind
// it are reached; then every name the input spells is looked up, and a
// cache that opened finds each head it holds under the stamp it holds.
#include "desktop/fuzz/FuzzCheck.h"
#include "formats/HeadCache.h"

#include <string.h>

#include <string>
#include <vector>

namespace {

const std::u16string kFolder = u"\\My Documents\\My Jotlings";

void Try(const uint8_t* data, size_t size)
{
    formats::HeadCacheView view;
    if (!view.Open(data, size, kFolder)) {
        FUZZ_CHECK(view.Count() == 0);
        return;
    }
    // Every record takes its fixed 38 bytes and a name.
    FUZZ_CHECK(view.Count() <= size / 40);
    // Names out of the bytes, at every even offset: most are none, a few
    // are the records' own.
    for (size_t at = 0; at + 4 <= size && at < 4096; at += 2) {
        size_t units = std::min<size_t>(data[at], (size - at - 2) / 2);
        std::u16string name;
        for (size_t i = 0; i < units; ++i)
            name.push_back(char16_t(data[at + 2 + 2 * i] | data[at + 3 + 2 * i] << 8));
        formats::CachedHead head;
        formats::FileStamp stamp;
        if (view.Find(name.data(), name.size(), stamp, &head))
            FUZZ_CHECK(head.title[formats::kNoteTitleUnits - 1] == 0 && head.expired <= 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Try(data, size);
    if (size >= 4) {
        std::vector<uint8_t> fixed(data, data + size);
        uint32_t crc = formats::Crc32(fixed.data(), size - 4);
        for (int i = 0; i < 4; ++i)
            fixed[size - 4 + i] = uint8_t(crc >> (8 * i));
        Try(fixed.data(), fixed.size());
    }
    // What the writer makes of records taken from the input reads back.
    std::vector<formats::HeadCacheRecord> records;
    for (size_t at = 0; at + 24 <= size && records.size() < 64; at += 24) {
        formats::HeadCacheRecord record;
        record.name = std::u16string(1 + data[at] % 20, char16_t(u'a' + data[at + 1] % 3));
        memcpy(&record.stamp.written, data + at + 2, 8);
        memcpy(&record.stamp.size, data + at + 10, 4);
        record.title = std::u16string(data[at + 14] % 8, char16_t(data[at + 15]));
        record.expired = data[at + 16] & 1;
        record.whole = data[at + 17] & 1;
        records.push_back(record);
    }
    std::vector<uint8_t> written = formats::WriteHeadCache(kFolder, records);
    formats::HeadCacheView view;
    FUZZ_CHECK(view.Open(written.data(), written.size(), kFolder));
    for (const formats::HeadCacheRecord& record : records) {
        // A name given twice keeps one of its records; one given once is
        // found under its stamp, with its title.
        size_t named = 0;
        for (const formats::HeadCacheRecord& other : records)
            named += other.name == record.name ? 1 : 0;
        formats::CachedHead head;
        bool found = view.Find(record.name.data(), record.name.size(), record.stamp, &head);
        FUZZ_CHECK(found || named > 1);
        if (found && named == 1) {
            for (size_t i = 0; i < record.title.size(); ++i)
                FUZZ_CHECK(head.title[i] == record.title[i]);
            FUZZ_CHECK(head.title[record.title.size()] == 0 && head.expired == record.expired &&
                       head.whole == record.whole);
        }
    }
    return 0;
}
