#include "desktop/export/EnexWriter.h"

#include "desktop/export/Digests.h"
#include "desktop/export/Markup.h"
#include "desktop/export/PageTextLayout.h"
#include "desktop/export/XmlOut.h"
#include "formats/PageStyle.h"

#include <time.h>

#include <algorithm>

namespace exporter {

namespace {

const long long kNanoseconds = 1000000000LL;

std::string WaveBytes(const formats::InkRecordingData& r)
{
    return std::string(r.wave.begin(), r.wave.end());
}

void Media(XmlOut& out, const char* type, const std::string& bytes)
{
    out.Start("en-media");
    out.Attribute("type", type);
    out.Attribute("hash", Md5Hex(bytes));
    out.End();
}

void Paragraph(XmlOut& out, const std::string& utf8)
{
    out.Start("div");
    if (utf8.empty()) {
        out.Start("br");
        out.End();
    } else {
        out.Text(utf8);
    }
    out.End();
}

void Resource(XmlOut& out, const std::string& bytes, const char* mime, int width, int height,
              const std::string& fileName)
{
    out.Start("resource");
    out.Start("data");
    out.Attribute("encoding", "base64");
    out.Base64(bytes);
    out.End();
    out.Element("mime", mime);
    if (width > 0) {
        out.Element("width", std::to_string(width));
        out.Element("height", std::to_string(height));
    }
    out.Start("resource-attributes");
    out.Element("file-name", fileName);
    out.End();
    out.End();
}

std::string Title(const NoteReading& r)
{
    // The format wants a title without spaces at its ends.
    size_t begin = r.title.find_first_not_of(' ');
    if (begin == std::string::npos)
        return "(no title)";
    return r.title.substr(begin, r.title.find_last_not_of(' ') - begin + 1);
}

}  // namespace

std::string EnexTime(long long utcSeconds)
{
    time_t t = static_cast<time_t>(utcSeconds);
    struct tm parts;
    char text[32];
    if (gmtime_r(&t, &parts) == nullptr || strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts) == 0)
        return "19700101T000000Z";
    return text;
}

// Lines and recordings in the order they stand on the page: each line on
// the row the device gives it (formats::TextRows), each recording where its
// icon's top is, before the first line that lies below it.
std::string EnexWriter::Enml(const ExportedNote& note) const
{
    const NoteReading& r = *note.reading;
    XmlOut out;
    out.Begin("en-note", "http://xml.evernote.com/pub/enml2.dtd");
    out.Start("en-note");
    if (!r.problems.empty()) {
        std::string why = "This note is damaged; what could be read is here.";
        for (const std::string& problem : r.problems)
            why += " " + problem;
        out.Start("div");
        out.Start("b");
        out.Text(why);
        out.End();
        out.End();
    }
    if (!note.picture.png.empty()) {
        out.Start("div");
        Media(out, "image/png", note.picture.png);
        out.End();
    }
    const std::vector<formats::InkRecordingData>& recordings = r.content.recordings;
    std::vector<size_t> byTop(recordings.size());
    for (size_t i = 0; i < recordings.size(); ++i)
        byTop[i] = i;
    std::stable_sort(byTop.begin(), byTop.end(),
                     [&](size_t a, size_t b) { return recordings[a].y < recordings[b].y; });
    size_t nextRecording = 0;
    auto recordingsAbove = [&](long long bottom) {
        for (; nextRecording < byTop.size() && recordings[byTop[nextRecording]].y < bottom; ++nextRecording) {
            out.Start("div");
            Media(out, "audio/wav", WaveBytes(recordings[byTop[nextRecording]]));
            out.End();
        }
    };
    // A paragraph stands where its first line does; a recording beside a
    // later line of it follows the paragraph.
    const std::u16string& text = r.content.text;
    for (const PageTextLine& line : LayPageText(r.content, pageStyle_, note.zoom)) {
        if (line.start > 0 && text[line.start - 1] != u'\n')
            continue;
        size_t end = std::min(text.find(u'\n', line.start), text.size());
        recordingsAbove(line.top + formats::kPageLinePitch);
        Paragraph(out, Utf8FromUtf16(text.substr(line.start, end - line.start)));
    }
    recordingsAbove(1LL << 40);
    // Nothing in it: the empty line notes apps write for an empty note (an
    // empty en-note is left out by some importers).
    if (r.problems.empty() && note.picture.png.empty() && text.empty() && recordings.empty())
        Paragraph(out, std::string());
    out.End();
    return out.Finish();
}

void EnexWriter::WriteAttributes(XmlOut& out, const ExportedNote& note) const
{
    const NoteReading& r = *note.reading;
    bool reminder = r.HasHead() && !NeverExpires(r.fields.expiry) && IsValidTime(r.fields.expiry);
    if (!reminder)
        return;
    // An expired note's alarm was shown when its file was last written.
    long long updated = r.modified / kNanoseconds;
    out.Start("note-attributes");
    out.Element("reminder-order", std::to_string(updated * 1000));
    out.Element("reminder-time", EnexTime(zone_.UtcSecondsOf(r.fields.expiry)));
    if (r.fields.expired != 0)
        out.Element("reminder-done-time", EnexTime(updated));
    out.End();
}

void EnexWriter::WriteNote(XmlOut& out, const ExportedNote& note) const
{
    const NoteReading& r = *note.reading;
    out.Start("note");
    out.Element("title", Title(r));
    out.Start("content");
    out.Cdata(Enml(note));
    out.End();
    out.Element("created", EnexTime(r.created / kNanoseconds));
    out.Element("updated", EnexTime(r.modified / kNanoseconds));
    WriteAttributes(out, note);
    if (!note.picture.png.empty())
        Resource(out, note.picture.png, "image/png", note.picture.width, note.picture.height,
                 note.name + ".png");
    for (size_t i = 0; i < r.content.recordings.size(); ++i)
        Resource(out, WaveBytes(r.content.recordings[i]), "audio/wav", 0, 0, note.waveFiles[i]);
    out.End();
}

std::string EnexWriter::Build(const std::vector<ExportedNote>& notes) const
{
    XmlOut out;
    out.Begin("en-export", "http://xml.evernote.com/pub/evernote-export4.dtd");
    out.Start("en-export");
    out.Attribute("export-date", EnexTime(exportSeconds_));
    out.Attribute("application", "Jotlings");
    out.Attribute("version", "1.0");
    for (const ExportedNote& note : notes)
        WriteNote(out, note);
    out.End();
    return out.Finish();
}

}  // namespace exporter
