// The control's content format, as streamed by EM_STREAMOUT / EM_STREAMIN.
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

#include "InkDocument.h"

#include <stddef.h>
#include <stdint.h>

#include <vector>

const uint32_t kInkFormatVersion = 1;

class InkStreamFormat {
public:
    static void Write(const InkDocument& doc, std::vector<uint8_t>& out);
    // Replaces doc's content with what data holds. Returns false when nothing
    // usable was found (doc is then empty).
    static bool Read(const uint8_t* data, size_t size, InkDocument& doc);

private:
    static bool ReadStroke(const uint8_t* payload, size_t size, InkDocument& doc);
    static bool ReadText(const uint8_t* payload, size_t size, InkDocument& doc);
    static bool ReadRecording(const uint8_t* payload, size_t size, InkDocument& doc);
};
