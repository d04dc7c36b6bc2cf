// The ink control's content format, as streamed by EM_STREAMOUT and
// EM_STREAMIN and kept as a note's data.
//
// All numbers are little-endian. A stream is a header followed by chunks:
//
//   header   "INKX"  magic, 4 bytes
//            u32     format version (currently 1)
//   chunk    tag     4 ASCII bytes
//            u32     payload length in bytes
//            payload (length bytes)
//
// Chunks, written in this order:
//   "RECD"  one voice recording:   i32 x, i32 y (icon position, content
//           units), then one complete standard RIFF WAVE block (PCM, 44-byte
//           header, "RIFF" size "WAVE" "fmt " 16 ... "data" size samples).
//           Recordings come first, so the first "RIFF" in a stream is the
//           start of the first recording's wave.
//   "STRK"  one pen stroke:        u32 colour (COLORREF), u16 pen width
//           (content units), u16 flags (0), u32 point count n, then n times
//           i32 x, i32 y (content units: 4 to a pixel at 100 % zoom).
//   "TEXT"  the typed text:        u32 character count n, n UTF-16LE units.
//   "END "  end of content, empty payload. Anything after it is ignored.
//
// Reading is forgiving: unknown chunks are skipped (a later version may add
// some), a chunk whose payload is malformed is dropped on its own, a chunk
// whose length runs past the data ends the reading, and everything read
// before stays loaded. A later version number is read the same way. Data
// without the magic loads nothing, except a bare RIFF WAVE block, which
// becomes one recording.
#pragma once

#include "formats/LeReader.h"
#include "formats/LeWriter.h"

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace formats {

const uint32_t kInkFormatVersion = 1;
const int kInkUnitsPerPixel = 4;
// Content coordinates stay inside +-kInkMaxCoordinate; larger values from a
// stream are clamped, which also keeps every zoom product inside 32 bits.
const int kInkMaxCoordinate = 1 << 20;
// One stroke never holds more points than this; it bounds what a damaged
// count can make a reader allocate.
const uint32_t kInkMaxPointsPerStroke = 1u << 20;
const int kInkMaxPenWidth = 32 * kInkUnitsPerPixel;
// Size of a recording's icon on the page, in content units.
const int kInkRecordingIconUnits = 20 * kInkUnitsPerPixel;

int ClampInkCoordinate(long long v);

struct InkPoint {
    int32_t x;
    int32_t y;
};

// A "STRK" payload that passed its checks; the points stay in the payload.
struct InkStrokeView {
    uint32_t colour = 0;  // 0x00BBGGRR
    int width = 0;        // content units, within 1..kInkMaxPenWidth
    uint32_t count = 0;
    const uint8_t* points = nullptr;
    // Point i, clamped into the coordinate range.
    InkPoint At(uint32_t i) const;
};

bool ReadInkStroke(const uint8_t* payload, size_t size, InkStrokeView* stroke);
// Appends the text's units, leaving out zeros and carriage returns.
bool ReadInkText(const uint8_t* payload, size_t size, std::u16string* text);
// The icon's place, clamped, and the recording's wave in canonical form.
bool ReadInkRecording(const uint8_t* payload, size_t size, int* x, int* y,
                      std::vector<uint8_t>* wave);

// Why a walk over the chunks stopped.
enum class InkStop {
    NoContent,   // too short, or no magic (and no bare wave)
    BareWave,    // the data is one RIFF WAVE block, read as one recording
    End,         // the "END " chunk
    OutOfData,   // the data ended between chunks, without "END "
    ChunkCut,    // a chunk's length runs past the end of the data
};

struct InkChunk {
    char tag[5] = {};  // terminated
    const uint8_t* payload = nullptr;
    uint32_t length = 0;
    size_t offset = 0;  // of the chunk's tag in the data
};

// Walks the chunks of a stream: Next gives one chunk after another until it
// is false, then Stop() says why.
class InkChunkReader {
public:
    InkChunkReader(const uint8_t* data, size_t size);
    bool Next(InkChunk* chunk);
    InkStop Stop() const { return stop_; }
    uint32_t Version() const { return version_; }
    // The position where a cut chunk starts and the length it claims.
    size_t StopOffset() const { return stopOffset_; }
    uint32_t CutLength() const { return cutLength_; }

private:
    LeReader reader_;
    InkStop stop_ = InkStop::NoContent;
    bool walking_ = false;
    uint32_t version_ = 0;
    size_t stopOffset_ = 0;
    uint32_t cutLength_ = 0;
};

// The whole content in plain values, for tools and tests.
struct InkStrokeData {
    uint32_t colour = 0;
    int width = 2 * kInkUnitsPerPixel;
    std::vector<InkPoint> points;
};

struct InkRecordingData {
    int x = 0;
    int y = 0;
    std::vector<uint8_t> wave;
};

struct InkContent {
    std::vector<InkStrokeData> strokes;
    std::u16string text;
    std::vector<InkRecordingData> recordings;
};

struct InkReadReport {
    InkStop stop = InkStop::NoContent;
    uint32_t version = 0;
    size_t stopOffset = 0;
    uint32_t cutLength = 0;
    // Chunks whose payload was malformed, by tag, in stream order.
    std::vector<std::string> dropped;
    size_t unknownChunks = 0;
    bool any = false;  // something usable was read
};

// What a stream holds, handed over piece by piece as it is read: the
// control builds its document from it, the tools an InkContent.
class InkContentSink {
public:
    virtual ~InkContentSink() = default;
    virtual void Stroke(const InkStrokeView& stroke) = 0;
    // Units to append to the typed text.
    virtual void Text(const std::u16string& units) = 0;
    virtual void Recording(int x, int y, std::vector<uint8_t>&& wave) = 0;
};

// Reads a stream the way the control streams it in, the one reader of the
// format: every piece that passes its checks goes to sink.
InkReadReport ReadInkStream(const uint8_t* data, size_t size, InkContentSink& sink);
// The same into plain values; content is replaced.
InkReadReport ReadInkContent(const uint8_t* data, size_t size, InkContent* content);

// The writers of each piece, in the order a stream holds them.
void WriteInkHeader(LeWriter& out);
void WriteInkRecording(LeWriter& out, int x, int y, const uint8_t* wave, size_t size);
void WriteInkStrokeHead(LeWriter& out, uint32_t colour, int width, uint32_t count);
template <class Points>
void WriteInkStroke(LeWriter& out, uint32_t colour, int width, const Points& points)
{
    WriteInkStrokeHead(out, colour, width, static_cast<uint32_t>(points.size()));
    for (const auto& p : points) {
        out.I32(static_cast<int32_t>(p.x));
        out.I32(static_cast<int32_t>(p.y));
    }
}
// Text units of any 16-bit character type (wchar_t on the device).
template <class Text>
void WriteInkText(LeWriter& out, const Text& text)
{
    out.Tag("TEXT");
    out.U32(static_cast<uint32_t>(4 + 2 * text.size()));
    out.U32(static_cast<uint32_t>(text.size()));
    for (auto unit : text)
        out.U16(static_cast<uint16_t>(unit));
}
void WriteInkEnd(LeWriter& out);

void WriteInkContent(const InkContent& content, std::vector<uint8_t>& out);

}  // namespace formats
