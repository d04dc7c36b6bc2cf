#include "InkStreamFormat.h"

#include "LeWriter.h"

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

namespace {

// The pieces of a stream, straight into the control's document.
class DocumentSink : public formats::InkContentSink {
public:
    explicit DocumentSink(InkDocument& doc) : doc_(doc) {}

    void Stroke(const formats::InkStrokeView& view) override
    {
        InkStroke stroke(view.colour, view.width);
        stroke.Reserve(view.count);
        for (uint32_t i = 0; i < view.count; ++i) {
            formats::InkPoint p = view.At(i);
            stroke.AddPoint({p.x, p.y});
        }
        doc_.Strokes().push_back(static_cast<InkStroke&&>(stroke));
    }
    void Text(const std::u16string& units) override { doc_.Text().append(units.begin(), units.end()); }
    void Recording(int x, int y, std::vector<uint8_t>&& wave) override
    {
        doc_.Recordings().emplace_back(x, y, static_cast<std::vector<uint8_t>&&>(wave));
    }

private:
    InkDocument& doc_;
};

}  // namespace

bool InkStreamFormat::Read(const uint8_t* data, size_t size, InkDocument& doc)
{
    doc.Clear();
    DocumentSink sink(doc);
    return formats::ReadInkStream(data, size, sink).any;
}
