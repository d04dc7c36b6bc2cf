// The note file's reader: any bytes are read without leaving them, the
// title stays terminated, what was read whole writes back to bytes that
// read the same, and the scan for typed text finds what the whole content's
// reader finds.
#include "desktop/fuzz/FuzzCheck.h"
#include "formats/InkContent.h"
#include "formats/NoteLayout.h"
#include "formats/NoteTextScan.h"

#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    formats::NoteFields f;
    formats::ReadNoteFields(data, size, &f);
    FUZZ_CHECK(f.title[formats::kNoteTitleUnits - 1] == 0);
    FUZZ_CHECK(f.dataLength <= f.claimedLength);
    if (f.data != nullptr) {
        FUZZ_CHECK(f.data >= data && f.dataLength <= size - static_cast<size_t>(f.data - data));
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < f.dataLength; ++i)
            sum = static_cast<uint8_t>(sum + f.data[i]);
    }
    formats::InkContent content;
    formats::ReadInkContent(f.data, f.dataLength, &content);
    formats::MemorySource source(data, size);
    FUZZ_CHECK(formats::ScanNoteText(source, size) == content.text);
    if (f.extent != formats::NoteExtent::Header)
        return 0;
    std::vector<uint8_t> bytes;
    formats::LeWriter out(bytes);
    formats::WriteNoteFile(out, f.expiry, f.title, f.expired, f.zoom, f.data,
                           static_cast<uint32_t>(f.dataLength));
    formats::NoteFields back;
    formats::ReadNoteFields(bytes.data(), bytes.size(), &back);
    FUZZ_CHECK(back.Whole());
    FUZZ_CHECK(memcmp(&back.expiry, &f.expiry, sizeof f.expiry) == 0);
    for (size_t i = 0; i < formats::kNoteTitleUnits && f.title[i] != 0; ++i)
        FUZZ_CHECK(back.title[i] == f.title[i]);
    FUZZ_CHECK(back.expired == f.expired && back.zoom == f.zoom);
    FUZZ_CHECK(back.dataLength == f.dataLength);
    FUZZ_CHECK(f.dataLength == 0 || memcmp(back.data, f.data, f.dataLength) == 0);
    return 0;
}
