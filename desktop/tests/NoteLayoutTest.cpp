#include "formats/HeadCache.h"
#include "formats/NoteLayout.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

using formats::NoteExtent;
using formats::NoteFields;

// A note file of the given title, zoom and data, as the program writes it.
std::vector<uint8_t> NoteBytes(const char16_t* title, uint32_t zoom, const std::vector<uint8_t>& data)
{
    formats::NoteTime expiry = {2026, 12, 3, 9, 10, 5, 30, 250};
    uint16_t units[formats::kNoteTitleUnits];
    for (size_t i = 0; i < formats::kNoteTitleUnits; ++i)
        units[i] = 0x4141;  // what memory held after the terminator
    for (size_t i = 0; title[i] != 0; ++i)
        units[i] = title[i];
    units[std::char_traits<char16_t>::length(title)] = 0;
    std::vector<uint8_t> bytes;
    formats::LeWriter out(bytes);
    formats::WriteNoteFile(out, expiry, units, 1, zoom, data.data(), static_cast<uint32_t>(data.size()));
    return bytes;
}

TEST(NoteLayoutTest, WritesTheLayoutTheDeviceReads)
{
    std::vector<uint8_t> bytes = NoteBytes(u"Hi", 150, {7, 8, 9});
    ASSERT_EQ(bytes.size(), formats::kNoteHeaderSize + 3);
    EXPECT_EQ(bytes[0], 0xEA);  // 2026, little-endian
    EXPECT_EQ(bytes[1], 0x07);
    EXPECT_EQ(bytes[8], 10);    // the hour
    EXPECT_EQ(bytes[16], 'H');
    EXPECT_EQ(bytes[18], 'i');
    // After the terminator only zeros, whatever the record held there.
    for (size_t i = 20; i < 526; ++i)
        ASSERT_EQ(bytes[i], 0) << "title byte " << i;
    EXPECT_EQ(bytes[526], 1);
    EXPECT_EQ(bytes[527], 150);  // zoom at its odd offset
    EXPECT_EQ(bytes[531], 3);
    EXPECT_EQ(bytes[535], 7);
}

TEST(NoteLayoutTest, RoundTripsEveryField)
{
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint8_t> bytes = NoteBytes(u"\u65e5\u672c \U0001F600", 300, data);
    NoteFields f;
    formats::ReadNoteFields(bytes.data(), bytes.size(), &f);
    EXPECT_TRUE(f.Whole());
    EXPECT_EQ(f.expiry.year, 2026);
    EXPECT_EQ(f.expiry.milliseconds, 250);
    EXPECT_EQ(std::u16string(f.title, f.title + 5), u"\u65e5\u672c \U0001F600");
    EXPECT_EQ(f.title[5], 0);
    EXPECT_EQ(f.expired, 1);
    EXPECT_EQ(f.zoom, 300u);
    ASSERT_EQ(f.dataLength, data.size());
    EXPECT_EQ(memcmp(f.data, data.data(), data.size()), 0);
}

TEST(NoteLayoutTest, ADamagedFileKeepsEveryWholeFieldBeforeTheDamage)
{
    std::vector<uint8_t> whole = NoteBytes(u"Title", 120, {1, 2, 3, 4});
    struct Case {
        size_t size;
        NoteExtent extent;
    } cases[] = {{15, NoteExtent::Nothing}, {16, NoteExtent::Expiry}, {300, NoteExtent::Expiry},
                 {526, NoteExtent::Title},  {527, NoteExtent::Head},   {534, NoteExtent::Zoom},
                 {535, NoteExtent::Header}};
    for (const Case& c : cases) {
        NoteFields f;
        formats::ReadNoteFields(whole.data(), c.size, &f);
        EXPECT_EQ(f.extent, c.extent) << c.size << " bytes";
        EXPECT_FALSE(f.Whole()) << c.size << " bytes";
        if (c.size >= 300)
            EXPECT_EQ(f.title[0], 'T') << c.size << " bytes";
        if (c.extent < NoteExtent::Zoom)
            EXPECT_EQ(f.zoom, 0u) << c.size << " bytes";
    }
    // The length claims four bytes and two are there: the data is cut to them.
    NoteFields cut;
    formats::ReadNoteFields(whole.data(), whole.size() - 2, &cut);
    EXPECT_TRUE(cut.DataCut());
    EXPECT_EQ(cut.claimedLength, 4u);
    EXPECT_EQ(cut.dataLength, 2u);
}

TEST(NoteLayoutTest, ATitleWithoutTerminatorIsTerminatedWithinItsUnits)
{
    std::vector<uint8_t> bytes = NoteBytes(u"", 200, {});
    for (size_t i = 16; i < 526; ++i)
        bytes[i] = 'x';
    NoteFields f;
    formats::ReadNoteFields(bytes.data(), bytes.size(), &f);
    EXPECT_EQ(f.title[253], 'x' | 'x' << 8);
    EXPECT_EQ(f.title[254], 0);
    // And half a unit at the end of a short file is not read as one.
    formats::ReadNoteFields(bytes.data(), 16 + 5, &f);
    EXPECT_EQ(f.title[1], 'x' | 'x' << 8);
    EXPECT_EQ(f.title[2], 0);
}

TEST(NoteLayoutTest, ReadersNeverTakeMoreThanTheBytesHold)
{
    const uint8_t three[3] = {1, 2, 3};
    formats::LeReader in(three, 3);
    EXPECT_EQ(in.U16(), 0x0201);
    EXPECT_EQ(in.U32(), 0u);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
    formats::LeReader none(nullptr, 100);
    EXPECT_EQ(none.Remaining(), 0u);
    EXPECT_EQ(none.Take(1), nullptr);
}

}  // namespace

// The head cache a start reads: every record found under its own name and
// stamp only, and a file with any byte changed or missing holds nothing.
TEST(HeadCacheTest, FindsEachHeadByNameAndStampAndRefusesAnyDamage)
{
    const std::u16string folder = u"\\My Documents\\My Jotlings";
    std::vector<formats::HeadCacheRecord> records(3);
    const char16_t* names[] = {u"Jotling10.jot", u"Jotling2.jot", u"Caf\u00e9.jot"};
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].name = names[i];
        records[i].stamp = {1000 + i, 535 + i};
        records[i].expiry = {2026, 12, 3, 9, uint16_t(10 + i), 5, 30, 250};
        records[i].title = i == 1 ? std::u16string(300, u'x') : std::u16string(u"title ") + char16_t(u'0' + i);
        records[i].expired = uint8_t(i % 2);
        records[i].whole = i != 2;
    }
    records.push_back(records[0]);   // a name twice is written once
    std::vector<uint8_t> bytes = formats::WriteHeadCache(folder, records);
    formats::HeadCacheView view;
    ASSERT_TRUE(view.Open(bytes.data(), bytes.size(), folder));
    EXPECT_EQ(view.Count(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        formats::CachedHead head;
        const std::u16string& name = records[i].name;
        ASSERT_TRUE(view.Find(name.data(), name.size(), records[i].stamp, &head)) << i;
        std::u16string title(reinterpret_cast<const char16_t*>(head.title));
        EXPECT_EQ(title, records[i].title.substr(0, 254)) << i;
        EXPECT_EQ(head.expiry.hour, 10 + i);
        EXPECT_EQ(head.expired, records[i].expired);
        EXPECT_EQ(head.whole, records[i].whole);
        formats::FileStamp later = records[i].stamp;
        later.written += 1;
        EXPECT_FALSE(view.Find(name.data(), name.size(), later, &head)) << "a changed time is a miss";
        later = records[i].stamp;
        later.size += 1;
        EXPECT_FALSE(view.Find(name.data(), name.size(), later, &head)) << "a changed size is a miss";
        EXPECT_FALSE(view.Find(name.data(), name.size() - 1, records[i].stamp, &head));
    }
    EXPECT_FALSE(view.Open(bytes.data(), bytes.size(), u"\\Other folder")) << "another folder's cache";
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::vector<uint8_t> damaged = bytes;
        damaged[at] ^= 0x01;
        EXPECT_FALSE(view.Open(damaged.data(), damaged.size(), folder)) << "byte " << at << " flipped";
        EXPECT_EQ(view.Count(), 0u);
        EXPECT_FALSE(view.Open(bytes.data(), at, folder)) << "cut to " << at << " bytes";
    }
}
