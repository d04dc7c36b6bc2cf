// The content format on its own: what goes out comes back, and damaged or
// foreign bytes load what is sound without reading past the data.
#include "InkStreamFormat.h"
#include "LeReader.h"
#include "LeWriter.h"

#include <gtest/gtest.h>

#include <string.h>

#include <random>

namespace {

InkDocument SampleDocument()
{
    InkDocument doc;
    InkStroke a(RGB(0, 0, 0), 8);
    a.AddPoint({10, 20});
    a.AddPoint({400, -30});
    a.AddPoint({kInkMaxCoordinate, 5});
    doc.Strokes().push_back(a);
    InkStroke dot(RGB(200, 10, 10), 12);
    dot.AddPoint({77, 88});
    doc.Strokes().push_back(dot);
    doc.Text() = L"Line one\nZwei \x00e9\x4e2d";
    std::vector<uint8_t> pcm(2205 * 2, 0);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<uint8_t>(i);
    doc.Recordings().emplace_back(8, 640, InkRecording::BuildWave(pcm.data(), pcm.size(), 11025, 1, 16));
    return doc;
}

std::vector<uint8_t> Written(const InkDocument& doc)
{
    std::vector<uint8_t> out;
    InkStreamFormat::Write(doc, out);
    return out;
}

size_t FindRiff(const std::vector<uint8_t>& bytes)
{
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (memcmp(&bytes[i], "RIFF", 4) == 0)
            return i;
    }
    return bytes.size();
}

TEST(InkStreamFormatTest, RoundTripsStrokesTextAndRecordings)
{
    InkDocument doc = SampleDocument();
    std::vector<uint8_t> bytes = Written(doc);
    InkDocument back;
    ASSERT_TRUE(InkStreamFormat::Read(bytes.data(), bytes.size(), back));
    ASSERT_EQ(2u, back.Strokes().size());
    EXPECT_EQ(3u, back.Strokes()[0].Points().size());
    EXPECT_EQ(400, back.Strokes()[0].Points()[1].x);
    EXPECT_EQ(-30, back.Strokes()[0].Points()[1].y);
    EXPECT_EQ(RGB(200, 10, 10), back.Strokes()[1].Colour());
    EXPECT_EQ(12, back.Strokes()[1].Width());
    EXPECT_EQ(doc.Text(), back.Text());
    ASSERT_EQ(1u, back.Recordings().size());
    EXPECT_EQ(doc.Recordings()[0].Wave(), back.Recordings()[0].Wave());
    EXPECT_EQ(640, back.Recordings()[0].Y());
    EXPECT_EQ(bytes, Written(back));
}

TEST(InkStreamFormatTest, HeaderIsVersionedLittleEndian)
{
    std::vector<uint8_t> bytes = Written(InkDocument());
    ASSERT_EQ(16u, bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), "INKX\x01\0\0\0END \0\0\0\0", 16));
}

TEST(InkStreamFormatTest, FirstRiffIsTheFirstRecordingsCompleteWave)
{
    InkDocument doc = SampleDocument();
    std::vector<uint8_t> bytes = Written(doc);
    size_t at = FindRiff(bytes);
    ASSERT_LT(at, bytes.size());
    const std::vector<uint8_t>& wave = doc.Recordings()[0].Wave();
    ASSERT_LE(at + wave.size(), bytes.size());
    EXPECT_EQ(0, memcmp(&bytes[at], wave.data(), wave.size()));
    LeReader r(&bytes[at], bytes.size() - at);
    r.Take(4);
    EXPECT_EQ(wave.size() - 8, r.U32());
    EXPECT_TRUE(r.TagIs("WAVE"));
    EXPECT_TRUE(r.TagIs("fmt "));
    EXPECT_EQ(16u, r.U32());
    EXPECT_EQ(1u, r.U16());
    EXPECT_EQ(1u, r.U16());
    EXPECT_EQ(11025u, r.U32());
}

TEST(InkStreamFormatTest, SkipsUnknownChunksAndReadsLaterVersions)
{
    std::vector<uint8_t> bytes;
    LeWriter w(bytes);
    w.Tag("INKX");
    w.U32(7);
    w.Tag("ZZZZ");
    w.U32(3);
    w.Bytes("abc", 3);
    w.Tag("TEXT");
    w.U32(6);
    w.U32(1);
    w.U16('Q');
    InkDocument doc;
    EXPECT_TRUE(InkStreamFormat::Read(bytes.data(), bytes.size(), doc));
    EXPECT_EQ(L"Q", doc.Text());
}

TEST(InkStreamFormatTest, KeepsWhatCameBeforeATruncatedChunk)
{
    std::vector<uint8_t> bytes = Written(SampleDocument());
    // Cut inside the text chunk: recordings and strokes stay.
    size_t cut = bytes.size() - 8 - 10;
    InkDocument doc;
    InkStreamFormat::Read(bytes.data(), cut, doc);
    EXPECT_EQ(2u, doc.Strokes().size());
    EXPECT_EQ(1u, doc.Recordings().size());
    EXPECT_TRUE(doc.Text().empty());
}

TEST(InkStreamFormatTest, DropsOnlyTheMalformedChunk)
{
    std::vector<uint8_t> bytes;
    LeWriter w(bytes);
    w.Tag("INKX");
    w.U32(1);
    w.Tag("STRK");  // claims 1000 points in a 20-byte payload
    w.U32(20);
    w.U32(0);
    w.U16(8);
    w.U16(0);
    w.U32(1000);
    w.I32(1);
    w.I32(2);
    w.Tag("TEXT");
    w.U32(8);
    w.U32(2);
    w.U16('o');
    w.U16('k');
    InkDocument doc;
    EXPECT_TRUE(InkStreamFormat::Read(bytes.data(), bytes.size(), doc));
    EXPECT_TRUE(doc.Strokes().empty());
    EXPECT_EQ(L"ok", doc.Text());
}

TEST(InkStreamFormatTest, ForeignDataLoadsNothingButABareWaveIsARecording)
{
    const char text[] = "just some text that is not ink";
    InkDocument doc;
    EXPECT_FALSE(InkStreamFormat::Read(reinterpret_cast<const uint8_t*>(text), sizeof(text), doc));
    EXPECT_TRUE(doc.Strokes().empty() && doc.Text().empty() && doc.Recordings().empty());

    uint8_t pcm[100] = {};
    std::vector<uint8_t> wave = InkRecording::BuildWave(pcm, sizeof(pcm), 8000, 1, 8);
    EXPECT_TRUE(InkStreamFormat::Read(wave.data(), wave.size(), doc));
    ASSERT_EQ(1u, doc.Recordings().size());
    EXPECT_EQ(wave, doc.Recordings()[0].Wave());
}

TEST(InkStreamFormatTest, WaveCutShortKeepsItsSamplesWithAMatchingHeader)
{
    uint8_t pcm[400];
    memset(pcm, 9, sizeof(pcm));
    std::vector<uint8_t> wave = InkRecording::BuildWave(pcm, sizeof(pcm), 11025, 1, 16);
    std::vector<uint8_t> fixed;
    ASSERT_TRUE(InkRecording::NormalizeWave(wave.data(), 44 + 101, fixed));
    ASSERT_EQ(44u + 100u, fixed.size());  // whole samples only
    LeReader r(fixed.data(), fixed.size());
    r.Take(4);
    EXPECT_EQ(36u + 100u, r.U32());
    LeReader data(fixed.data() + 40, 4);
    EXPECT_EQ(100u, data.U32());
}

TEST(InkStreamFormatTest, RejectsWavesThatAreNotPcm)
{
    uint8_t pcm[16] = {};
    std::vector<uint8_t> wave = InkRecording::BuildWave(pcm, sizeof(pcm), 11025, 1, 16);
    std::vector<uint8_t> out;
    std::vector<uint8_t> compressed = wave;
    compressed[20] = 2;  // ADPCM
    EXPECT_FALSE(InkRecording::NormalizeWave(compressed.data(), compressed.size(), out));
    std::vector<uint8_t> noFormat = wave;
    memcpy(&noFormat[12], "junk", 4);
    EXPECT_FALSE(InkRecording::NormalizeWave(noFormat.data(), noFormat.size(), out));
    EXPECT_TRUE(out.empty());
}

TEST(InkStreamFormatTest, RecordingDurationFollowsItsSamples)
{
    std::vector<uint8_t> pcm(11025 * 2 * 3, 0);
    InkRecording rec(0, 0, InkRecording::BuildWave(pcm.data(), pcm.size(), 11025, 1, 16));
    EXPECT_EQ(3000u, rec.DurationMs());
}

// Whatever the bytes, reading stays inside them, and what was read writes
// out as a stream that reads back to the same thing.
TEST(InkStreamFormatTest, FuzzedBytesNeverBreakReading)
{
    std::mt19937 random(1234);
    std::vector<uint8_t> good = Written(SampleDocument());
    for (int round = 0; round < 4000; ++round) {
        std::vector<uint8_t> bytes;
        switch (round % 4) {
        case 0:  // random bytes behind a valid header
            bytes.assign(good.begin(), good.begin() + 8);
            bytes.resize(8 + random() % 300);
            for (size_t i = 8; i < bytes.size(); ++i)
                bytes[i] = static_cast<uint8_t>(random());
            break;
        case 1:  // truncated
            bytes.assign(good.begin(), good.begin() + random() % good.size());
            break;
        case 2:  // flipped bytes
            bytes = good;
            for (int k = 0; k < 6; ++k)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            break;
        default:  // pure noise, sometimes starting like a wave
            bytes.resize(random() % 200);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            if (bytes.size() >= 4 && round % 8 == 3)
                memcpy(bytes.data(), "RIFF", 4);
            break;
        }
        // An exact-size heap copy, so a read past the end would touch
        // memory that is not the input.
        std::vector<uint8_t> exact(bytes);
        InkDocument doc;
        InkStreamFormat::Read(exact.data(), exact.size(), doc);
        std::vector<uint8_t> again = Written(doc);
        InkDocument reread;
        InkStreamFormat::Read(again.data(), again.size(), reread);
        ASSERT_EQ(again, Written(reread)) << "round " << round;
    }
}

}  // namespace
