#include "formats/InkContent.h"

#include "formats/WaveBlock.h"

#include <string.h>

namespace formats {

int ClampInkCoordinate(long long v)
{
    if (v > kInkMaxCoordinate)
        return kInkMaxCoordinate;
    if (v < -kInkMaxCoordinate)
        return -kInkMaxCoordinate;
    return static_cast<int>(v);
}

InkPoint InkStrokeView::At(uint32_t i) const
{
    LeReader r(points + 8 * static_cast<size_t>(i), 8);
    int32_t x = r.I32();
    int32_t y = r.I32();
    return {ClampInkCoordinate(x), ClampInkCoordinate(y)};
}

bool ReadInkStroke(const uint8_t* payload, size_t size, InkStrokeView* stroke)
{
    LeReader r(payload, size);
    uint32_t colour = r.U32() & 0x00FFFFFF;
    int width = r.U16();
    r.U16();
    uint32_t count = r.U32();
    if (r.Failed() || count == 0 || count > kInkMaxPointsPerStroke || count > r.Remaining() / 8)
        return false;
    if (width < 1)
        width = 1;
    if (width > kInkMaxPenWidth)
        width = kInkMaxPenWidth;
    stroke->colour = colour;
    stroke->width = width;
    stroke->count = count;
    stroke->points = r.Current();
    return true;
}

bool ReadInkText(const uint8_t* payload, size_t size, std::u16string* text)
{
    LeReader r(payload, size);
    uint32_t count = r.U32();
    if (r.Failed() || count > r.Remaining() / 2)
        return false;
    text->reserve(text->size() + count);
    for (uint32_t i = 0; i < count; ++i) {
        char16_t c = static_cast<char16_t>(r.U16());
        if (c != u'\0' && c != u'\r')
            text->push_back(c);
    }
    return true;
}

bool ReadInkRecording(const uint8_t* payload, size_t size, int* x, int* y,
                      std::vector<uint8_t>* wave)
{
    LeReader r(payload, size);
    int32_t rawX = r.I32();
    int32_t rawY = r.I32();
    if (r.Failed())
        return false;
    std::vector<uint8_t> normal;
    if (!NormalizeWave(payload + 8, size - 8, normal))
        return false;
    *x = ClampInkCoordinate(rawX);
    *y = ClampInkCoordinate(rawY);
    *wave = static_cast<std::vector<uint8_t>&&>(normal);
    return true;
}

InkChunkReader::InkChunkReader(const uint8_t* data, size_t size) : reader_(data, size)
{
    if (data == nullptr || size < 8)
        return;
    if (memcmp(data, "RIFF", 4) == 0) {
        stop_ = InkStop::BareWave;
        return;
    }
    if (!reader_.TagIs("INKX"))
        return;
    version_ = reader_.U32();  // any version: the chunks carry their own lengths
    walking_ = true;
}

bool InkChunkReader::Next(InkChunk* chunk)
{
    if (!walking_)
        return false;
    if (reader_.Remaining() < 8) {
        stop_ = InkStop::OutOfData;
        stopOffset_ = reader_.Position();
        walking_ = false;
        return false;
    }
    size_t offset = reader_.Position();
    const uint8_t* tag = reader_.Take(4);
    uint32_t length = reader_.U32();
    if (length > reader_.Remaining()) {
        stop_ = InkStop::ChunkCut;
        stopOffset_ = offset;
        cutLength_ = length;
        walking_ = false;
        return false;
    }
    if (memcmp(tag, "END ", 4) == 0) {
        stop_ = InkStop::End;
        stopOffset_ = offset;
        walking_ = false;
        return false;
    }
    memcpy(chunk->tag, tag, 4);
    chunk->tag[4] = '\0';
    chunk->length = length;
    chunk->payload = reader_.Take(length);
    chunk->offset = offset;
    return true;
}

namespace {

class ContentSink : public InkContentSink {
public:
    explicit ContentSink(InkContent* content) : content_(content) {}

    void Stroke(const InkStrokeView& view) override
    {
        InkStrokeData stroke;
        stroke.colour = view.colour;
        stroke.width = view.width;
        stroke.points.reserve(view.count);
        for (uint32_t i = 0; i < view.count; ++i)
            stroke.points.push_back(view.At(i));
        content_->strokes.push_back(static_cast<InkStrokeData&&>(stroke));
    }
    void Text(const std::u16string& units) override { content_->text += units; }
    void Recording(int x, int y, std::vector<uint8_t>&& wave) override
    {
        content_->recordings.push_back({x, y, static_cast<std::vector<uint8_t>&&>(wave)});
    }

private:
    InkContent* content_;
};

// One chunk's payload to the sink; false when it is malformed.
bool ReadChunk(const InkChunk& chunk, InkContentSink& sink)
{
    if (strcmp(chunk.tag, "STRK") == 0) {
        InkStrokeView view;
        if (!ReadInkStroke(chunk.payload, chunk.length, &view))
            return false;
        sink.Stroke(view);
    } else if (strcmp(chunk.tag, "TEXT") == 0) {
        std::u16string units;
        if (!ReadInkText(chunk.payload, chunk.length, &units))
            return false;
        sink.Text(units);
    } else {
        int x = 0, y = 0;
        std::vector<uint8_t> wave;
        if (!ReadInkRecording(chunk.payload, chunk.length, &x, &y, &wave))
            return false;
        sink.Recording(x, y, static_cast<std::vector<uint8_t>&&>(wave));
    }
    return true;
}

bool IsKnown(const InkChunk& chunk)
{
    return strcmp(chunk.tag, "STRK") == 0 || strcmp(chunk.tag, "TEXT") == 0 ||
           strcmp(chunk.tag, "RECD") == 0;
}

}  // namespace

InkReadReport ReadInkStream(const uint8_t* data, size_t size, InkContentSink& sink)
{
    InkReadReport report;
    InkChunkReader chunks(data, size);
    if (chunks.Stop() == InkStop::BareWave) {
        std::vector<uint8_t> wave;
        if (NormalizeWave(data, size, wave)) {
            sink.Recording(0, 0, static_cast<std::vector<uint8_t>&&>(wave));
            report.any = true;
        }
        report.stop = InkStop::BareWave;
        return report;
    }
    InkChunk chunk;
    while (chunks.Next(&chunk)) {
        if (!IsKnown(chunk))
            ++report.unknownChunks;
        else if (ReadChunk(chunk, sink))
            report.any = true;
        else
            report.dropped.push_back(chunk.tag);
    }
    report.stop = chunks.Stop();
    report.version = chunks.Version();
    report.stopOffset = chunks.StopOffset();
    report.cutLength = chunks.CutLength();
    return report;
}

InkReadReport ReadInkContent(const uint8_t* data, size_t size, InkContent* content)
{
    *content = InkContent();
    ContentSink sink(content);
    return ReadInkStream(data, size, sink);
}

void WriteInkHeader(LeWriter& out)
{
    out.Tag("INKX");
    out.U32(kInkFormatVersion);
}

void WriteInkRecording(LeWriter& out, int x, int y, const uint8_t* wave, size_t size)
{
    out.Tag("RECD");
    out.U32(static_cast<uint32_t>(8 + size));
    out.I32(x);
    out.I32(y);
    out.Bytes(wave, size);
}

void WriteInkStrokeHead(LeWriter& out, uint32_t colour, int width, uint32_t count)
{
    out.Tag("STRK");
    out.U32(12 + 8 * count);
    out.U32(colour);
    out.U16(static_cast<uint16_t>(width));
    out.U16(0);
    out.U32(count);
}

void WriteInkEnd(LeWriter& out)
{
    out.Tag("END ");
    out.U32(0);
}

void WriteInkContent(const InkContent& content, std::vector<uint8_t>& out)
{
    LeWriter w(out);
    WriteInkHeader(w);
    for (const InkRecordingData& r : content.recordings)
        WriteInkRecording(w, r.x, r.y, r.wave.data(), r.wave.size());
    for (const InkStrokeData& s : content.strokes)
        WriteInkStroke(w, s.colour, s.width, s.points);
    if (!content.text.empty())
        WriteInkText(w, content.text);
    WriteInkEnd(w);
}

}  // namespace formats
