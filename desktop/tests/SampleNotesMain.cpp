// sample-notes FOLDER: writes a notes folder of every kind of note the
// program makes, one damaged (cut inside its content) and one set aside
// while its alarm is on screen, one untitled, and prints what
// an export of it must hold, one line a note: file, title, strokes,
// recordings' sample frames (comma-separated), whether it has text, damaged,
// the text (line breaks as \n), the expiry as local ISO 8601 (empty for
// none) and whether it has expired.
#include "desktop/fuzz/NoteSamples.h"
#include "desktop/export/ExpiryText.h"
#include "desktop/export/Markup.h"

#include <stdio.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

namespace {

void Save(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Describe(const std::string& file, const samples::SampleNote& note, bool damaged)
{
    std::string frames;
    for (const formats::InkRecordingData& r : note.content.recordings)
        frames += (frames.empty() ? "" : ",") + std::to_string(r.wave.size() - 44);
    std::string text;
    for (char c : exporter::Utf8FromUtf16(note.content.text))
        text += c == '\n' ? std::string("\\n") : std::string(1, c);
    printf("%s\t%s\t%zu\t%s\t%d\t%d\t%s\t%s\t%d\n", file.c_str(),
           exporter::Utf8FromUtf16(note.title).c_str(), note.content.strokes.size(), frames.c_str(),
           note.content.text.empty() ? 0 : 1, damaged ? 1 : 0, text.c_str(),
           exporter::IsoTime(note.expiry).c_str(), note.expired);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: sample-notes FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    mkdir(folder.c_str(), 0777);
    std::vector<samples::SampleNote> all = samples::AllSamples();
    for (size_t i = 0; i < all.size(); ++i) {
        std::string file = "Jotling" + std::to_string(i) + ".jot";
        Save(folder + "/" + file, samples::NoteFileBytes(all[i]));
        Describe(file, all[i], false);
    }
    // The voice note cut inside its second recording: the first one and
    // nothing after it is read.
    samples::SampleNote cut = all[3];
    std::vector<uint8_t> bytes = samples::NoteFileBytes(cut);
    bytes.resize(bytes.size() - 2000);
    Save(folder + "/Jotling7.jot", bytes);
    cut.content.recordings.resize(1);
    cut.content.strokes.clear();
    Describe("Jotling7.jot", cut, true);
    // A note whose alarm is on screen, set aside by the program until its
    // window closes; due in summer time.
    samples::SampleNote due;
    due.title = u"Summer";
    due.expiry = samples::Time(2026, 7, 1, 9, 30);
    due.content.text = u"the alarm is on screen";
    Save(folder + "/Jotling8.jot.alarm", samples::NoteFileBytes(due));
    Describe("Jotling8.jot.alarm", due, false);
    // A note never given a title.
    samples::SampleNote untitled;
    untitled.expiry = samples::Never();
    untitled.content.text = u"buy milk";
    Save(folder + "/Jotling9.jot", samples::NoteFileBytes(untitled));
    Describe("Jotling9.jot", untitled, false);
    return 0;
}
