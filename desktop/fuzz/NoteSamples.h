// Notes as the program saves them, built with the format library's writers:
// the fuzz targets' seeds and the exporter's tests share them.
#pragma once

#include "formats/InkContent.h"
#include "formats/NoteLayout.h"

#include <string>
#include <vector>

namespace samples {

struct SampleNote {
    std::u16string title;
    formats::NoteTime expiry = {};
    uint8_t expired = 0;
    uint32_t zoom = 200;
    formats::InkContent content;
    bool noContent = false;  // a note saved without any data
};

formats::NoteTime Time(int year, int month, int day, int hour, int minute);
formats::NoteTime Never();
formats::InkStrokeData Stroke(uint32_t colour, int width, std::vector<formats::InkPoint> points);
// A canonical 8-bit mono wave of a rising tone.
std::vector<uint8_t> Tone(unsigned rate, size_t samples);

std::vector<uint8_t> InkBytes(const SampleNote& note);
std::vector<uint8_t> NoteFileBytes(const SampleNote& note);

// One of each kind the program makes.
std::vector<SampleNote> AllSamples();

}  // namespace samples
