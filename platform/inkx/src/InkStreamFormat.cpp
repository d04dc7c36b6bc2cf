#include "InkStreamFormat.h"

#include "LeReader.h"
#include "LeWriter.h"

#include <string.h>

// One stroke never holds more points than this; it bounds what a damaged
// count can make us allocate.
static const uint32_t kMaxPointsPerStroke = 1u << 20;

static bool TagEquals(const uint8_t* tag, const char* name)
{
    return memcmp(tag, name, 4) == 0;
}

void InkStreamFormat::Write(const InkDocument& doc, std::vector<uint8_t>& out)
{
    size_t expected = 16 + 8 + 4 + 2 * doc.Text().size();
    for (const InkRecording& rec : doc.Recordings())
        expected += 16 + rec.Wave().size();
    for (const InkStroke& s : doc.Strokes())
        expected += 20 + 8 * s.Points().size();
    out.reserve(out.size() + expected);
    LeWriter w(out);
    w.Tag("INKX");
    w.U32(kInkFormatVersion);
    for (const InkRecording& rec : doc.Recordings()) {
        w.Tag("RECD");
        w.U32(static_cast<uint32_t>(8 + rec.Wave().size()));
        w.I32(rec.X());
        w.I32(rec.Y());
        w.Bytes(rec.Wave().data(), rec.Wave().size());
    }
    for (const InkStroke& s : doc.Strokes()) {
        const std::vector<POINT>& pts = s.Points();
        w.Tag("STRK");
        w.U32(static_cast<uint32_t>(12 + 8 * pts.size()));
        w.U32(s.Colour());
        w.U16(static_cast<uint16_t>(s.Width()));
        w.U16(0);
        w.U32(static_cast<uint32_t>(pts.size()));
        for (const POINT& p : pts) {
            w.I32(p.x);
            w.I32(p.y);
        }
    }
    if (!doc.Text().empty()) {
        const std::wstring& t = doc.Text();
        w.Tag("TEXT");
        w.U32(static_cast<uint32_t>(4 + 2 * t.size()));
        w.U32(static_cast<uint32_t>(t.size()));
        for (wchar_t c : t)
            w.U16(static_cast<uint16_t>(c));
    }
    w.Tag("END ");
    w.U32(0);
}

bool InkStreamFormat::ReadStroke(const uint8_t* payload, size_t size, InkDocument& doc)
{
    LeReader r(payload, size);
    COLORREF colour = r.U32() & 0x00FFFFFF;
    int width = r.U16();
    r.U16();
    uint32_t count = r.U32();
    if (r.Failed() || count == 0 || count > kMaxPointsPerStroke || count > r.Remaining() / 8)
        return false;
    if (width < 1)
        width = 1;
    if (width > 32 * kInkUnitsPerPixel)
        width = 32 * kInkUnitsPerPixel;
    InkStroke stroke(colour, width);
    stroke.Reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        int x = r.I32();
        int y = r.I32();
        stroke.AddPoint({x, y});
    }
    doc.Strokes().push_back(static_cast<InkStroke&&>(stroke));
    return true;
}

bool InkStreamFormat::ReadText(const uint8_t* payload, size_t size, InkDocument& doc)
{
    LeReader r(payload, size);
    uint32_t count = r.U32();
    if (r.Failed() || count > r.Remaining() / 2)
        return false;
    std::wstring text;
    text.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        wchar_t c = static_cast<wchar_t>(r.U16());
        if (c != L'\0' && c != L'\r')
            text.push_back(c);
    }
    doc.Text() += text;
    return true;
}

bool InkStreamFormat::ReadRecording(const uint8_t* payload, size_t size, InkDocument& doc)
{
    LeReader r(payload, size);
    int x = ClampCoordinate(r.I32());
    int y = ClampCoordinate(r.I32());
    if (r.Failed())
        return false;
    std::vector<uint8_t> wave;
    if (!InkRecording::NormalizeWave(payload + 8, size - 8, wave))
        return false;
    doc.Recordings().emplace_back(x, y, static_cast<std::vector<uint8_t>&&>(wave));
    return true;
}

bool InkStreamFormat::Read(const uint8_t* data, size_t size, InkDocument& doc)
{
    doc.Clear();
    if (data == nullptr || size < 8) {
        return false;
    }
    if (memcmp(data, "RIFF", 4) == 0) {
        std::vector<uint8_t> wave;
        if (!InkRecording::NormalizeWave(data, size, wave))
            return false;
        doc.Recordings().emplace_back(0, 0, static_cast<std::vector<uint8_t>&&>(wave));
        return true;
    }
    LeReader r(data, size);
    if (!r.TagIs("INKX"))
        return false;
    r.U32();  // any version: the chunks carry their own lengths
    bool any = false;
    while (r.Remaining() >= 8) {
        const uint8_t* tag = r.Take(4);
        uint32_t length = r.U32();
        if (length > r.Remaining())
            break;
        const uint8_t* payload = r.Take(length);
        if (TagEquals(tag, "END "))
            break;
        if (TagEquals(tag, "STRK"))
            any |= ReadStroke(payload, length, doc);
        else if (TagEquals(tag, "TEXT"))
            any |= ReadText(payload, length, doc);
        else if (TagEquals(tag, "RECD"))
            any |= ReadRecording(payload, length, doc);
    }
    return any;
}
