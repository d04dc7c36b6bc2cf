#include "desktop/fuzz/NoteSamples.h"
#include "formats/InkContent.h"
#include "formats/NoteLayout.h"
#include "formats/NoteTextScan.h"

#include <gtest/gtest.h>

namespace {

// The text the whole-file reader finds: every byte read, every chunk walked.
std::u16string FullReaderText(const std::vector<uint8_t>& file)
{
    formats::NoteFields fields;
    formats::ReadNoteFields(file.data(), file.size(), &fields);
    formats::InkContent content;
    formats::ReadInkContent(fields.data, fields.dataLength, &content);
    return content.text;
}

std::u16string Scan(const std::vector<uint8_t>& file)
{
    formats::MemorySource source(file.data(), file.size());
    return formats::ScanNoteText(source, file.size());
}

// Counts what the scan asks for.
class CountingSource : public formats::MemorySource {
public:
    using MemorySource::MemorySource;
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override
    {
        ++reads;
        size_t got = MemorySource::ReadAt(offset, buffer, size);
        bytesRead += got;
        return got;
    }
    size_t reads = 0;
    size_t bytesRead = 0;
};

// A note with a recording, strokes and text, as the recorder and the pen
// leave it.
samples::SampleNote VoiceNote(size_t strokes, unsigned seconds)
{
    samples::SampleNote note;
    note.title = u"Voice memo";
    note.expiry = samples::Never();
    note.content.recordings.push_back({40, 40, samples::Tone(11025, 11025 * 2 * seconds)});
    for (size_t i = 0; i < strokes; ++i)
        note.content.strokes.push_back(samples::Stroke(0, 8, {{int(i), 10}, {int(i) + 40, 90}}));
    note.content.text = u"Zahnarzt am Dienstag, \u00e0 dix heures";
    return note;
}

TEST(NoteTextScanTest, FindsWhatTheFullReaderFindsInEveryCutAndDamagedFile)
{
    std::vector<samples::SampleNote> notes = samples::AllSamples();
    notes.push_back(VoiceNote(3, 1));
    // Text before other chunks and two text chunks: orders a later writer
    // may use.
    samples::SampleNote reordered = notes[1];
    std::vector<uint8_t> ink;
    formats::LeWriter out(ink);
    formats::WriteInkHeader(out);
    formats::WriteInkText(out, std::u16string(u"first part "));
    formats::WriteInkStroke(out, 0, 8, reordered.content.strokes[0].points);
    formats::WriteInkText(out, std::u16string(u"second part"));
    formats::WriteInkEnd(out);
    std::vector<uint8_t> file;
    formats::LeWriter noteOut(file);
    uint16_t title[formats::kNoteTitleUnits] = {'T', 'w', 'o'};
    formats::WriteNoteFile(noteOut, samples::Never(), title, 0, 100, ink.data(), uint32_t(ink.size()));

    std::vector<std::vector<uint8_t>> files = {file};
    for (const samples::SampleNote& note : notes)
        files.push_back(samples::NoteFileBytes(note));
    EXPECT_EQ(u"first part second part", Scan(files[0]));
    EXPECT_EQ(u"Zahnarzt am Dienstag, \u00e0 dix heures", Scan(files.back()));

    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (const std::vector<uint8_t>& whole : files) {
        // Every length a cut copy can leave (every third of the voice note's).
        size_t step = whole.size() > 10000 ? 3 : 1;
        for (size_t length = 0; length <= whole.size(); length += step) {
            std::vector<uint8_t> cut(whole.begin(), whole.begin() + length);
            ASSERT_EQ(FullReaderText(cut), Scan(cut)) << "cut to " << length << " of " << whole.size();
        }
        // A data length that stops short of the bytes after it.
        for (uint32_t shorter = 1; whole.size() > formats::kNoteHeaderSize && shorter < 40; ++shorter) {
            std::vector<uint8_t> claimed = whole;
            uint32_t length = uint32_t(whole.size() - formats::kNoteHeaderSize - shorter);
            for (int i = 0; i < 4; ++i)
                claimed[531 + i] = uint8_t(length >> (8 * i));
            ASSERT_EQ(FullReaderText(claimed), Scan(claimed)) << "data length short by " << shorter;
        }
        // Bytes overwritten anywhere: lengths, tags, counts.
        for (int round = 0; round < 400; ++round) {
            std::vector<uint8_t> damaged = whole;
            for (int flips = 0; flips < 3; ++flips)
                damaged[next() % damaged.size()] = uint8_t(next() >> 16);
            ASSERT_EQ(FullReaderText(damaged), Scan(damaged)) << "round " << round;
        }
    }
}

TEST(NoteTextScanTest, StepsOverRecordingsAndReadsStrokesAWindowAtATime)
{
    std::vector<uint8_t> file = samples::NoteFileBytes(VoiceNote(2000, 60));
    ASSERT_GT(file.size(), 1300000u);
    CountingSource source(file.data(), file.size());
    EXPECT_EQ(u"Zahnarzt am Dienstag, \u00e0 dix heures", formats::ScanNoteText(source, file.size()));
    // The head's window, and the strokes' 72 KB after the recording.
    EXPECT_LE(source.reads, 3u);
    EXPECT_LT(source.bytesRead, 200000u);
}

}  // namespace
