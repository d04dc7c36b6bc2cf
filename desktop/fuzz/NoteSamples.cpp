#include "desktop/fuzz/NoteSamples.h"

#include "formats/WaveBlock.h"

namespace samples {

formats::NoteTime Time(int year, int month, int day, int hour, int minute)
{
    formats::NoteTime t = {};
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    return t;
}

formats::NoteTime Never()
{
    formats::NoteTime t = Time(2026, 1, 1, 0, 0);
    t.hour = formats::kNeverExpiresHour;
    return t;
}

formats::InkStrokeData Stroke(uint32_t colour, int width, std::vector<formats::InkPoint> points)
{
    formats::InkStrokeData s;
    s.colour = colour;
    s.width = width;
    s.points = static_cast<std::vector<formats::InkPoint>&&>(points);
    return s;
}

std::vector<uint8_t> Tone(unsigned rate, size_t samples)
{
    std::vector<uint8_t> pcm(samples);
    for (size_t i = 0; i < samples; ++i)
        pcm[i] = static_cast<uint8_t>(128 + ((i * (1 + i / 400)) % 64) - 32);
    return formats::BuildWave(pcm.data(), pcm.size(), rate, 1, 8);
}

std::vector<uint8_t> InkBytes(const SampleNote& note)
{
    std::vector<uint8_t> bytes;
    if (!note.noContent)
        formats::WriteInkContent(note.content, bytes);
    return bytes;
}

std::vector<uint8_t> NoteFileBytes(const SampleNote& note)
{
    uint16_t title[formats::kNoteTitleUnits] = {};
    for (size_t i = 0; i < note.title.size() && i + 1 < formats::kNoteTitleUnits; ++i)
        title[i] = note.title[i];
    std::vector<uint8_t> ink = InkBytes(note);
    std::vector<uint8_t> bytes;
    formats::LeWriter out(bytes);
    formats::WriteNoteFile(out, note.expiry, title, note.expired, note.zoom, ink.data(),
                           static_cast<uint32_t>(ink.size()));
    return bytes;
}

std::vector<SampleNote> AllSamples()
{
    std::vector<SampleNote> all;
    SampleNote empty;
    empty.title = u"Empty";
    empty.expiry = Never();
    empty.noContent = true;
    all.push_back(empty);

    SampleNote ink;
    ink.title = u"Dentist";
    ink.expiry = Time(2026, 12, 9, 10, 5);
    ink.content.strokes.push_back(Stroke(0x000000, 8, {{160, 480}, {400, 560}, {720, 680}}));
    ink.content.strokes.push_back(Stroke(0x0000FF, 16, {{160, 680}, {720, 480}}));
    ink.content.strokes.push_back(Stroke(0xFF0000, 4, {{300, 300}}));
    ink.content.text = u"call the dentist\nat ten";
    all.push_back(ink);

    SampleNote scripts;
    scripts.title = u"\u65e5\u672c\u8a9e \u0645\u0631\u062d\u0628\u0627 \u00e9t\u00e9 \U0001F600";
    scripts.expiry = Time(2026, 12, 24, 18, 0);
    scripts.expired = 1;
    scripts.content.text = u"\u041f\u0440\u0438\u0432\u0435\u0442 <b>&amp;</b> \"quotes\"";
    all.push_back(scripts);

    SampleNote voice;
    voice.title = u"Voice: a/b\\c?";
    voice.expiry = Never();
    voice.zoom = 100;
    voice.content.recordings.push_back({40, 40, Tone(8000, 4000)});
    voice.content.recordings.push_back({200, 40, Tone(11025, 2205)});
    voice.content.strokes.push_back(Stroke(0x008000, 8, {{40, 200}, {600, 220}}));
    all.push_back(voice);
    return all;
}

}  // namespace samples
