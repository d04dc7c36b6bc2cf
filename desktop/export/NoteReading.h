// One note file as the exporter reads it: every field that is there, the
// ink content the control would load from it, and in plain words what could
// not be read and why.
#pragma once

#include "formats/InkContent.h"
#include "formats/NoteLayout.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace exporter {

struct NoteReading {
    std::string fileName;      // as found in the notes folder
    long long created = 0;     // the file's creation time, for the list's order
    long long modified = 0;    // when it was last written (ns since 1970, as created)
    std::vector<uint8_t> bytes;
    formats::NoteFields fields;
    formats::InkContent content;
    formats::InkReadReport ink;
    std::string title;         // UTF-8
    // Empty for a whole note; otherwise each sentence says what is missing.
    std::vector<std::string> problems;

    bool HasHead() const { return fields.extent >= formats::NoteExtent::Head; }
};

// Fills everything but fileName and created from bytes.
void ReadNote(std::vector<uint8_t> bytes, NoteReading* note);

}  // namespace exporter
