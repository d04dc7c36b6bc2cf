// The control's content format, as streamed by EM_STREAMOUT / EM_STREAMIN:
// an "INKX" header and chunks of recordings, strokes and the typed text.
// The layout and its one reader (what is kept, dropped or ends the
// reading) are the format library's, formats/InkContent.h, which the fuzz
// targets run too; this class moves a document's content through them.
#pragma once

#include "InkDocument.h"

#include <stddef.h>
#include <stdint.h>

#include <vector>

const uint32_t kInkFormatVersion = formats::kInkFormatVersion;

class InkStreamFormat {
public:
    static void Write(const InkDocument& doc, std::vector<uint8_t>& out);
    // Replaces doc's content with what data holds. Returns false when nothing
    // usable was found (doc is then empty).
    static bool Read(const uint8_t* data, size_t size, InkDocument& doc);
};
