#include "InkStreamFormat.h"

#include "LeWriter.h"

#include "formats/WaveBlock.h"

#include <string.h>

void InkStreamFormat::Write(const InkDocument& doc, std::vector<uint8_t>& out)
{
    size_t expected = 16 + 8 + 4 + 2 * doc.Text().size();
    for (const InkRecording& rec : doc.Recordings())
        expected += 16 + rec.Wave().size();
    for (const InkStroke& s : doc.Strokes())
        expected += 20 + 8 * s.Points().size();
    out.reserve(out.size() + expected);
    LeWriter w(out);
    formats::WriteInkHeader(w);
    for (const InkRecording& rec : doc.Recordings())
        formats::WriteInkRecording(w, rec.X(), rec.Y(), rec.Wave().data(), rec.Wave().size());
    for (const InkStroke& s : doc.Strokes())
        formats::WriteInkStroke(w, s.Colour(), s.Width(), s.Points());
    if (!doc.Text().empty())
        formats::WriteInkText(w, doc.Text());
    formats::WriteInkEnd(w);
}

bool InkStreamFormat::ReadStroke(const uint8_t* payload, size_t size, InkDocument& doc)
{
    formats::InkStrokeView view;
    if (!formats::ReadInkStroke(payload, size, &view))
        return false;
    InkStroke stroke(view.colour, view.width);
    stroke.Reserve(view.count);
    for (uint32_t i = 0; i < view.count; ++i) {
        formats::InkPoint p = view.At(i);
        stroke.AddPoint({p.x, p.y});
    }
    doc.Strokes().push_back(static_cast<InkStroke&&>(stroke));
    return true;
}

bool InkStreamFormat::ReadText(const uint8_t* payload, size_t size, InkDocument& doc)
{
    std::u16string text;
    if (!formats::ReadInkText(payload, size, &text))
        return false;
    doc.Text().append(text.begin(), text.end());
    return true;
}

bool InkStreamFormat::ReadRecording(const uint8_t* payload, size_t size, InkDocument& doc)
{
    int x = 0, y = 0;
    std::vector<uint8_t> wave;
    if (!formats::ReadInkRecording(payload, size, &x, &y, &wave))
        return false;
    doc.Recordings().emplace_back(x, y, static_cast<std::vector<uint8_t>&&>(wave));
    return true;
}

bool InkStreamFormat::Read(const uint8_t* data, size_t size, InkDocument& doc)
{
    doc.Clear();
    formats::InkChunkReader chunks(data, size);
    if (chunks.Stop() == formats::InkStop::BareWave) {
        std::vector<uint8_t> wave;
        if (!formats::NormalizeWave(data, size, wave))
            return false;
        doc.Recordings().emplace_back(0, 0, static_cast<std::vector<uint8_t>&&>(wave));
        return true;
    }
    bool any = false;
    formats::InkChunk chunk;
    while (chunks.Next(&chunk)) {
        if (strcmp(chunk.tag, "STRK") == 0)
            any |= ReadStroke(chunk.payload, chunk.length, doc);
        else if (strcmp(chunk.tag, "TEXT") == 0)
            any |= ReadText(chunk.payload, chunk.length, doc);
        else if (strcmp(chunk.tag, "RECD") == 0)
            any |= ReadRecording(chunk.payload, chunk.length, doc);
    }
    return any;
}
