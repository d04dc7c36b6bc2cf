#include "formats/InkContent.h"
#include "formats/ViewSetup.h"
#include "formats/WaveBlock.h"

#include <gtest/gtest.h>

namespace {

using formats::InkContent;
using formats::InkStop;

class InkContentTest : public ::testing::Test {
protected:
    InkContentTest()
    {
        std::vector<uint8_t> pcm(300, 0x80);
        content.recordings.push_back({12, 34, formats::BuildWave(pcm.data(), pcm.size(), 8000, 1, 8)});
        formats::InkStrokeData stroke;
        stroke.colour = 0x00FF8040;
        stroke.width = 8;
        stroke.points = {{1, 2}, {-3, 4}, {500, 600}};
        content.strokes.push_back(stroke);
        stroke.points = {{9, 9}};
        content.strokes.push_back(stroke);
        content.text = u"line one\nline \U0001F600";
        formats::WriteInkContent(content, bytes);
    }

    // Offset of the n-th chunk's tag (0 = the first after the header).
    size_t ChunkAt(size_t n) const
    {
        formats::InkChunkReader chunks(bytes.data(), bytes.size());
        formats::InkChunk chunk;
        for (size_t i = 0; chunks.Next(&chunk); ++i) {
            if (i == n)
                return chunk.offset;
        }
        return bytes.size();
    }

    InkContent content;
    std::vector<uint8_t> bytes;
};

TEST_F(InkContentTest, RoundTripsStrokesTextAndRecordings)
{
    InkContent back;
    formats::InkReadReport report = formats::ReadInkContent(bytes.data(), bytes.size(), &back);
    EXPECT_TRUE(report.any);
    EXPECT_EQ(report.stop, InkStop::End);
    EXPECT_EQ(report.version, formats::kInkFormatVersion);
    ASSERT_EQ(back.strokes.size(), 2u);
    EXPECT_EQ(back.strokes[0].colour, 0x00FF8040u);
    EXPECT_EQ(back.strokes[0].width, 8);
    EXPECT_EQ(back.strokes[0].points[1].x, -3);
    EXPECT_EQ(back.strokes[0].points[2].y, 600);
    EXPECT_EQ(back.text, content.text);
    ASSERT_EQ(back.recordings.size(), 1u);
    EXPECT_EQ(back.recordings[0].x, 12);
    EXPECT_EQ(back.recordings[0].wave, content.recordings[0].wave);
    // Recordings come first: the first RIFF is the first recording's wave.
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "RECD");
    EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 28), "RIFF");
}

TEST_F(InkContentTest, ACutChunkEndsTheReadingAndKeepsWhatCameBefore)
{
    size_t second = ChunkAt(2);  // the second stroke
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + second + 10);
    InkContent back;
    formats::InkReadReport report = formats::ReadInkContent(cut.data(), cut.size(), &back);
    EXPECT_EQ(report.stop, InkStop::ChunkCut);
    EXPECT_EQ(report.stopOffset, second);
    EXPECT_EQ(back.recordings.size(), 1u);
    EXPECT_EQ(back.strokes.size(), 1u);
    EXPECT_TRUE(back.text.empty());
}

TEST_F(InkContentTest, AMalformedChunkIsDroppedAloneAndUnknownOnesSkipped)
{
    // The first stroke claims more points than its payload holds.
    size_t stroke = ChunkAt(1);
    bytes[stroke + 8 + 8] = 200;
    // The text chunk becomes one of a later version's.
    size_t text = ChunkAt(3);
    bytes[text] = 'N';
    InkContent back;
    formats::InkReadReport report = formats::ReadInkContent(bytes.data(), bytes.size(), &back);
    EXPECT_EQ(report.stop, InkStop::End);
    ASSERT_EQ(report.dropped, std::vector<std::string>{"STRK"});
    EXPECT_EQ(report.unknownChunks, 1u);
    ASSERT_EQ(back.strokes.size(), 1u);
    EXPECT_EQ(back.strokes[0].points.size(), 1u);
    EXPECT_TRUE(back.text.empty());
    EXPECT_EQ(back.recordings.size(), 1u);
}

TEST_F(InkContentTest, ValuesOutsideTheirRangesAreClamped)
{
    InkContent wild;
    formats::InkStrokeData s;
    s.width = 0;
    s.points = {{0x7FFFFFFF, -0x7FFFFFFF}};
    wild.strokes.push_back(s);
    s.width = 5000;
    wild.strokes.push_back(s);
    wild.text = u"a\r\nb";
    wild.text.push_back(u'\0');
    std::vector<uint8_t> out;
    formats::WriteInkContent(wild, out);
    InkContent back;
    formats::ReadInkContent(out.data(), out.size(), &back);
    ASSERT_EQ(back.strokes.size(), 2u);
    EXPECT_EQ(back.strokes[0].width, 1);
    EXPECT_EQ(back.strokes[1].width, formats::kInkMaxPenWidth);
    EXPECT_EQ(back.strokes[0].points[0].x, formats::kInkMaxCoordinate);
    EXPECT_EQ(back.strokes[0].points[0].y, -formats::kInkMaxCoordinate);
    EXPECT_EQ(back.text, u"a\nb");
}

TEST_F(InkContentTest, DataWithoutTheMagicLoadsNothingButABareWave)
{
    InkContent back;
    std::vector<uint8_t> junk = {'I', 'N', 'K', 'Y', 1, 0, 0, 0, 'E', 'N', 'D', ' ', 0, 0, 0, 0};
    formats::InkReadReport report = formats::ReadInkContent(junk.data(), junk.size(), &back);
    EXPECT_FALSE(report.any);
    EXPECT_EQ(report.stop, InkStop::NoContent);

    const std::vector<uint8_t>& wave = content.recordings[0].wave;
    report = formats::ReadInkContent(wave.data(), wave.size(), &back);
    EXPECT_TRUE(report.any);
    EXPECT_EQ(report.stop, InkStop::BareWave);
    ASSERT_EQ(back.recordings.size(), 1u);
    EXPECT_EQ(back.recordings[0].wave, wave);
}

TEST(ViewSetupTest, ReadsTheProgramsEditorAndPreviewBlocks)
{
    const int32_t editor[6] = {15, 2, 200, 16, 0, 0};
    formats::ViewSetup e = formats::ReadViewSetup(editor);
    EXPECT_TRUE(e.editable && e.scrollVertical && e.scrollHorizontal && e.showRecordings);
    EXPECT_EQ(e.penWidth, formats::kInkUnitsPerPixel);
    EXPECT_FALSE(e.fitWidth);
    EXPECT_EQ(e.zoom, 200);
    const int32_t preview[6] = {14, 40, 0, 4, static_cast<int32_t>(0xFF0000FF), 100000};
    formats::ViewSetup p = formats::ReadViewSetup(preview);
    EXPECT_FALSE(p.editable);
    EXPECT_EQ(p.penWidth, 0);  // out of range: keeps the current width
    EXPECT_TRUE(p.fitWidth);
    EXPECT_EQ(p.penColour, 0x0000FFu);
    EXPECT_EQ(p.firstLine, 0);
}

}  // namespace
