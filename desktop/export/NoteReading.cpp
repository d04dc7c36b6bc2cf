#include "desktop/export/NoteReading.h"

#include "desktop/export/ExpiryText.h"
#include "desktop/export/Markup.h"

#include <string>

namespace exporter {

namespace {

using formats::InkStop;
using formats::NoteExtent;

std::string Number(size_t n)
{
    return std::to_string(n);
}

void ExplainHead(const NoteReading& note, std::vector<std::string>& problems)
{
    size_t size = note.bytes.size();
    switch (note.fields.extent) {
    case NoteExtent::Nothing:
        problems.push_back("The file has " + Number(size) +
                           " bytes: too short for the expiry (16 bytes), so nothing of the note "
                           "could be read.");
        return;
    case NoteExtent::Expiry:
        problems.push_back("The file ends inside the title (" + Number(size) +
                           " bytes, the head needs 527): the title is what was there, and the "
                           "expired flag, zoom and content are missing.");
        return;
    case NoteExtent::Title:
        problems.push_back("The file ends before the expired flag (526 bytes): the zoom and content "
                           "are missing.");
        return;
    case NoteExtent::Head:
    case NoteExtent::Zoom:
        problems.push_back("The file ends after its head (" + Number(size) +
                           " bytes, a note has at least 535): the content's length is missing, so "
                           "the note has no content.");
        return;
    case NoteExtent::Header:
        break;
    }
    if (note.fields.DataCut()) {
        problems.push_back("The content is cut short: the file says " +
                           Number(note.fields.claimedLength) + " bytes, but only " +
                           Number(note.fields.dataLength) + " are there.");
    }
    if (!IsValidTime(note.fields.expiry) && !NeverExpires(note.fields.expiry))
        problems.push_back("The expiry is no date of the calendar.");
}

void ExplainInk(const NoteReading& note, std::vector<std::string>& problems)
{
    if (note.fields.dataLength == 0)
        return;
    const formats::InkReadReport& ink = note.ink;
    switch (ink.stop) {
    case InkStop::NoContent:
        problems.push_back("The content is not the ink control's (no \"INKX\" header), so none "
                           "of it could be read.");
        break;
    case InkStop::BareWave:
        if (!ink.any)
            problems.push_back("The content is a wave without usable PCM samples.");
        break;
    case InkStop::End:
        break;
    case InkStop::OutOfData:
        problems.push_back("The content ends without its end mark at byte " +
                           Number(ink.stopOffset) + "; everything before it was read.");
        break;
    case InkStop::ChunkCut:
        problems.push_back("The content is cut at byte " + Number(ink.stopOffset) +
                           ": a piece there claims " + Number(ink.cutLength) +
                           " bytes that are not in the file; everything before it was read.");
        break;
    }
    for (const std::string& tag : ink.dropped) {
        const char* what = tag == "STRK"   ? "A stroke"
                           : tag == "TEXT" ? "The typed text"
                                           : "A recording";
        problems.push_back(std::string(what) + " (\"" + tag +
                           "\") is malformed and was left out; the rest was read.");
    }
}

}  // namespace

void ReadNote(std::vector<uint8_t> bytes, NoteReading* note)
{
    note->bytes = static_cast<std::vector<uint8_t>&&>(bytes);
    formats::ReadNoteFields(note->bytes.data(), note->bytes.size(), &note->fields);
    note->title = Utf8FromUtf16(note->fields.title, formats::kNoteTitleUnits);
    note->ink = formats::ReadInkContent(note->fields.data, note->fields.dataLength, &note->content);
    note->problems.clear();
    ExplainHead(*note, note->problems);
    ExplainInk(*note, note->problems);
}

}  // namespace exporter
