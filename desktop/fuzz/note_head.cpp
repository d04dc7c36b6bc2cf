// The head reader, as the note list and the Today item list notes: a head
// of any length up to 527 bytes reads inside its bytes, the title it gives
// is terminated within its 255 units, and a whole head ends in its flag.
#include "desktop/fuzz/FuzzCheck.h"
#include "formats/NoteLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > formats::kNoteHeadSize)
        size = formats::kNoteHeadSize;
    formats::LeReader in(data, size);
    formats::NoteTime expiry;
    uint16_t title[formats::kNoteTitleUnits];
    bool timed = formats::ReadNoteTime(in, &expiry);
    FUZZ_CHECK(timed == (size >= 16));
    if (!timed)
        return 0;
    formats::ReadNoteTitle(in, title);
    FUZZ_CHECK(title[formats::kNoteTitleUnits - 1] == 0);
    FUZZ_CHECK(!in.Failed());
    // The list takes a head only when all 527 bytes are there; then the
    // expired flag is the last of them.
    if (size == formats::kNoteHeadSize) {
        FUZZ_CHECK(in.Remaining() == 1);
        FUZZ_CHECK(in.U8() == data[formats::kNoteHeadSize - 1] && !in.Failed());
    }
    return 0;
}
