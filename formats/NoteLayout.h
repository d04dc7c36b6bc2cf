// The note file, byte for byte, as the program writes it and the program,
// the Today item and the desktop tools read it.
//
//   offset  size  field
//        0    16  expiry: eight 16-bit SYSTEMTIME fields, year first
//       16   510  title: 255 UTF-16LE units, zero-terminated
//      526     1  expired flag (0 or 1)
//      527     4  zoom in percent
//      531     4  data length N
//      535     N  ink data, as the ink control streams it
//
// All integers are little-endian; there is no magic number or checksum. The
// first 527 bytes are the file's head, all that a list of notes needs.
#pragma once

#include "formats/LeReader.h"
#include "formats/LeWriter.h"

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace formats {

const size_t kNoteTitleUnits = 255;  // terminator included
const size_t kNoteHeadSize = 527;
const size_t kNoteHeaderSize = 535;  // the head, zoom and data length
const uint16_t kNeverExpiresHour = 25;

// The SYSTEMTIME fields in their file order.
struct NoteTime {
    uint16_t year;
    uint16_t month;
    uint16_t dayOfWeek;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};

// How far a file's bytes reach, field by field in file order. A reader
// keeps each field that is there whole and nothing after the first that
// is not.
enum class NoteExtent {
    Nothing,  // not even the expiry
    Expiry,   // the expiry and part of the title
    Title,    // expiry and title, no expired flag
    Head,     // the whole head
    Zoom,     // the head and the zoom
    Header,   // the head, zoom and data length: the data starts here
};

struct NoteFields {
    NoteTime expiry = {};
    uint16_t title[kNoteTitleUnits] = {};  // always terminated within its units
    uint8_t expired = 0;
    uint32_t zoom = 0;
    uint32_t claimedLength = 0;  // the data length the file states
    const uint8_t* data = nullptr;  // into the bytes read; null without data
    size_t dataLength = 0;          // what the file holds of the claimed length
    NoteExtent extent = NoteExtent::Nothing;

    // The data length runs past the end of the file.
    bool DataCut() const { return extent == NoteExtent::Header && claimedLength > dataLength; }
    // Head, zoom, length and all the data claimed: safe to edit and write back.
    bool Whole() const { return extent == NoteExtent::Header && !DataCut(); }
};

// ReadNoteTime is false, reading nothing, when fewer than 16 bytes remain.
// ReadNoteTitle takes what there is of the 510 bytes (whole units) and
// leaves title terminated within its 255 units.
bool ReadNoteTime(LeReader& in, NoteTime* time);
void ReadNoteTitle(LeReader& in, uint16_t* title);

// Reads the fields of a note file's bytes; the data points into bytes.
void ReadNoteFields(const uint8_t* bytes, size_t size, NoteFields* fields);

void WriteNoteTime(LeWriter& out, const NoteTime& time);
// Writes the 255 units of title up to its terminator and zeros after it; the
// last unit is always a terminator.
void WriteNoteTitle(LeWriter& out, const uint16_t* title);
// A whole note file.
void WriteNoteFile(LeWriter& out, const NoteTime& expiry, const uint16_t* title, uint8_t expired,
                   uint32_t zoom, const uint8_t* data, uint32_t dataLength);

}  // namespace formats
