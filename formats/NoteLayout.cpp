#include "formats/NoteLayout.h"

namespace formats {

bool ReadNoteTime(LeReader& in, NoteTime* t)
{
    if (in.Remaining() < 16)
        return false;
    t->year = in.U16();
    t->month = in.U16();
    t->dayOfWeek = in.U16();
    t->day = in.U16();
    t->hour = in.U16();
    t->minute = in.U16();
    t->second = in.U16();
    t->milliseconds = in.U16();
    return true;
}

void ReadNoteTitle(LeReader& in, uint16_t* title)
{
    size_t units = 0;
    for (; units < kNoteTitleUnits && in.Remaining() >= 2; ++units)
        title[units] = in.U16();
    for (size_t i = units; i < kNoteTitleUnits; ++i)
        title[i] = 0;
    title[kNoteTitleUnits - 1] = 0;
}

void ReadNoteFields(const uint8_t* bytes, size_t size, NoteFields* f)
{
    *f = NoteFields();
    LeReader in(bytes, size);
    if (!ReadNoteTime(in, &f->expiry))
        return;
    f->extent = NoteExtent::Expiry;
    bool titleWhole = in.Remaining() >= 2 * kNoteTitleUnits;
    ReadNoteTitle(in, f->title);
    if (!titleWhole)
        return;
    f->extent = NoteExtent::Title;
    if (in.Remaining() < 1)
        return;
    f->expired = in.U8();
    f->extent = NoteExtent::Head;
    if (in.Remaining() < 4)
        return;
    f->zoom = in.U32();
    f->extent = NoteExtent::Zoom;
    if (in.Remaining() < 4)
        return;
    f->claimedLength = in.U32();
    f->extent = NoteExtent::Header;
    f->dataLength = f->claimedLength <= in.Remaining() ? f->claimedLength : in.Remaining();
    if (f->dataLength > 0)
        f->data = in.Current();
}

void WriteNoteTime(LeWriter& out, const NoteTime& t)
{
    out.U16(t.year);
    out.U16(t.month);
    out.U16(t.dayOfWeek);
    out.U16(t.day);
    out.U16(t.hour);
    out.U16(t.minute);
    out.U16(t.second);
    out.U16(t.milliseconds);
}

void WriteNoteTitle(LeWriter& out, const uint16_t* title)
{
    // Whatever stood after the terminator in memory is not written out.
    bool ended = false;
    for (size_t i = 0; i < kNoteTitleUnits; ++i) {
        uint16_t unit = ended || i == kNoteTitleUnits - 1 ? 0 : title[i];
        if (unit == 0)
            ended = true;
        out.U16(unit);
    }
}

void WriteNoteFile(LeWriter& out, const NoteTime& expiry, const uint16_t* title, uint8_t expired,
                   uint32_t zoom, const uint8_t* data, uint32_t dataLength)
{
    if (data == nullptr)
        dataLength = 0;
    WriteNoteTime(out, expiry);
    WriteNoteTitle(out, title);
    out.U8(expired);
    out.U32(zoom);
    out.U32(dataLength);
    out.Bytes(data, dataLength);
}

}  // namespace formats
