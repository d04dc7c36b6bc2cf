// The ink content reader, the code InkX.dll streams in with: any bytes read
// without leaving them, what it reads writes back to a stream that reads
// the same, and the recording finder only finds whole waves.
#include "desktop/fuzz/FuzzCheck.h"
#include "formats/InkContent.h"
#include "formats/WaveBlock.h"

namespace {

bool SameContent(const formats::InkContent& a, const formats::InkContent& b)
{
    if (a.text != b.text || a.strokes.size() != b.strokes.size() ||
        a.recordings.size() != b.recordings.size())
        return false;
    for (size_t i = 0; i < a.strokes.size(); ++i) {
        const formats::InkStrokeData& s = a.strokes[i];
        const formats::InkStrokeData& t = b.strokes[i];
        if (s.colour != t.colour || s.width != t.width || s.points.size() != t.points.size())
            return false;
        for (size_t p = 0; p < s.points.size(); ++p) {
            if (s.points[p].x != t.points[p].x || s.points[p].y != t.points[p].y)
                return false;
        }
    }
    for (size_t i = 0; i < a.recordings.size(); ++i) {
        const formats::InkRecordingData& r = a.recordings[i];
        const formats::InkRecordingData& q = b.recordings[i];
        if (r.x != q.x || r.y != q.y || r.wave != q.wave)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    formats::InkContent content;
    formats::InkReadReport report = formats::ReadInkContent(data, size, &content);
    FUZZ_CHECK(report.any || (content.strokes.empty() && content.recordings.empty() &&
                              content.text.empty()));
    for (const formats::InkStrokeData& s : content.strokes) {
        FUZZ_CHECK(s.width >= 1 && s.width <= formats::kInkMaxPenWidth);
        FUZZ_CHECK(!s.points.empty());
    }
    for (const formats::InkRecordingData& r : content.recordings)
        FUZZ_CHECK(formats::WaveDurationMs(r.wave) < 0xFFFFFFFFu);

    std::vector<uint8_t> written;
    formats::WriteInkContent(content, written);
    formats::InkContent again;
    formats::InkReadReport second = formats::ReadInkContent(written.data(), written.size(), &again);
    FUZZ_CHECK(second.stop == formats::InkStop::End && second.dropped.empty());
    FUZZ_CHECK(SameContent(content, again));

    size_t offset = 0, length = 0;
    if (formats::FindWholeWave(data, size, 0, &offset, &length)) {
        FUZZ_CHECK(offset < size && length <= size - offset);
        std::vector<uint8_t> wave;
        FUZZ_CHECK(formats::NormalizeWave(data + offset, length, wave));
    }
    return 0;
}
