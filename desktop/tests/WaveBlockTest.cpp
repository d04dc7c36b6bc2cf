#include "formats/LeWriter.h"
#include "formats/WaveBlock.h"

#include <gtest/gtest.h>

namespace {

// A RIFF WAVE block as other programs write it: an extra chunk of odd
// length (padded) before the samples.
std::vector<uint8_t> ForeignWave(uint16_t format, uint32_t claimed, size_t present)
{
    std::vector<uint8_t> w;
    formats::LeWriter out(w);
    out.Tag("RIFF");
    out.U32(0);
    out.Tag("WAVE");
    out.Tag("LIST");
    out.U32(3);
    out.Bytes("abc", 3);
    out.U8(0);
    out.Tag("fmt ");
    out.U32(18);
    out.U16(format);
    out.U16(2);
    out.U32(11025);
    out.U32(11025 * 4);
    out.U16(4);
    out.U16(16);
    out.U16(0);
    out.Tag("data");
    out.U32(claimed);
    for (size_t i = 0; i < present; ++i)
        out.U8(static_cast<uint8_t>(i));
    return w;
}

TEST(WaveBlockTest, NormalizesAForeignWaveAndKeepsTheSamplesOfACutOne)
{
    std::vector<uint8_t> out;
    std::vector<uint8_t> cut = ForeignWave(1, 400, 102);
    ASSERT_TRUE(formats::NormalizeWave(cut.data(), cut.size(), out));
    // 102 bytes, whole frames of 4: 100 samples bytes, in a 44-byte header.
    ASSERT_EQ(out.size(), formats::kWaveHeaderSize + 100);
    EXPECT_EQ(out[formats::kWaveHeaderSize + 99], 99);
    formats::WaveFormat f;
    size_t at = 0, size = 0;
    ASSERT_TRUE(formats::ReadCanonicalWave(out, &f, &at, &size));
    EXPECT_EQ(f.channels, 2u);
    EXPECT_EQ(f.rate, 11025u);
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(formats::WaveDurationMs(out), 100u * 1000 / (11025 * 4));

    std::vector<uint8_t> untouched = {1, 2, 3};
    std::vector<uint8_t> compressed = ForeignWave(2, 40, 40);
    EXPECT_FALSE(formats::NormalizeWave(compressed.data(), compressed.size(), untouched));
    EXPECT_EQ(untouched.size(), 3u);
}

TEST(WaveBlockTest, TheRecordingFinderSkipsWavesThatAreNotWhole)
{
    std::vector<uint8_t> pcm(50, 0x80);
    std::vector<uint8_t> whole = formats::BuildWave(pcm.data(), pcm.size(), 8000, 1, 8);
    std::vector<uint8_t> data = {'x', 'R', 'I', 'F', 'F'};
    std::vector<uint8_t> cut = ForeignWave(1, 4000, 10);  // claims more than it holds
    data.insert(data.end(), cut.begin(), cut.end());
    size_t wholeAt = data.size();
    data.insert(data.end(), whole.begin(), whole.end());
    size_t offset = 0, length = 0;
    ASSERT_TRUE(formats::FindWholeWave(data.data(), data.size(), 0, &offset, &length));
    EXPECT_EQ(offset, wholeAt);
    EXPECT_EQ(length, whole.size());
    EXPECT_FALSE(formats::FindWholeWave(data.data(), data.size() - 1, 0, &offset, &length));
}

}  // namespace
