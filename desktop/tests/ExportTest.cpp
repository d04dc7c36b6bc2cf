#include "desktop/export/DeviceSettings.h"
#include "desktop/export/EnexWriter.h"
#include "desktop/export/ExportFolder.h"
#include "desktop/export/Exporter.h"
#include "desktop/export/FileNames.h"
#include "desktop/export/HtmlIndex.h"
#include "desktop/export/Markup.h"
#include "desktop/export/Digests.h"
#include "desktop/fuzz/NoteSamples.h"
#include "formats/PageStyle.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <ftw.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>

namespace {

using samples::SampleNote;

// Notes given to an exporter as files of a folder, in the order added.
class ExportTest : public ::testing::Test {
protected:
    void Add(const std::string& file, const SampleNote& note, long long created = 0)
    {
        exporter.AddNote(file, samples::NoteFileBytes(note), created);
    }
    SampleNote Note(const char16_t* title, formats::NoteTime expiry)
    {
        SampleNote n;
        n.title = title;
        n.expiry = expiry;
        return n;
    }
    std::vector<std::string> Order()
    {
        exporter.Render("folder");
        std::vector<std::string> names;
        for (const exporter::ExportedNote& n : exporter.Notes())
            names.push_back(n.reading->fileName);
        return names;
    }
    const std::string& File(const std::string& name) { return exporter.Files().at(name); }

    exporter::Exporter exporter{exporter::DeviceSettings()};
};

TEST_F(ExportTest, OrdersAsTheListSortsByTime)
{
    Add("a.jot", Note(u"never, older", samples::Never()), 100);
    Add("b.jot", Note(u"late", samples::Time(2027, 1, 1, 8, 0)));
    Add("c.jot", Note(u"never, newer", samples::Never()), 200);
    Add("d.jot", Note(u"early", samples::Time(2026, 3, 1, 8, 0)));
    exporter.AddNote("e.jot", std::vector<uint8_t>(100, 0), 300);  // no head
    EXPECT_EQ(Order(), (std::vector<std::string>{"d.jot", "b.jot", "c.jot", "a.jot", "e.jot"}));
}

TEST_F(ExportTest, WritesEachNotesFilesUnderSafeDistinctNames)
{
    std::vector<SampleNote> all = samples::AllSamples();
    for (size_t i = 0; i < all.size(); ++i)
        Add("Jotling" + std::to_string(i) + ".jot", all[i]);
    Add("Jotling9.jot", all[1]);  // the same title again
    exporter.Render("folder");
    const std::map<std::string, std::string>& files = exporter.Files();
    EXPECT_EQ(files.count("Dentist.svg"), 1u);
    EXPECT_EQ(files.count("Dentist (2).svg"), 1u);
    EXPECT_EQ(File("Dentist.txt"), "call the dentist\nat ten\n");
    EXPECT_EQ(files.count("Empty.txt"), 0u);  // no typed text, no text file
    // The recordings, byte for byte.
    EXPECT_EQ(File("Voice_ a_b_c_-1.wav"),
              std::string(all[3].content.recordings[0].wave.begin(), all[3].content.recordings[0].wave.end()));
    EXPECT_EQ(files.count("Voice_ a_b_c_-2.wav"), 1u);
    // Any script stays in the name, as UTF-8.
    EXPECT_EQ(files.count(exporter::SafeFileName(exporter::Utf8FromUtf16(all[2].title), "") + ".svg"), 1u);
    const std::string& page = File("index.html");
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_NE(page.find("data-file=\"Jotling" + std::to_string(i) + ".jot\""), std::string::npos);
    EXPECT_NE(page.find("&lt;b&gt;&amp;amp;&lt;/b&gt;"), std::string::npos);  // text escaped
    EXPECT_NE(page.find("href=\"Voice_%20a_b_c_-1.wav\""), std::string::npos);
}

TEST_F(ExportTest, RecordingLinksNameTheirFilesWhateverTheTitleHolds)
{
    SampleNote note = Note(u"50% #1 & \u00e9t\u00e9?", samples::Never());
    note.content.recordings.push_back({40, 40, samples::Tone(8000, 800)});
    Add("a.jot", note);
    exporter.Render("folder");
    ASSERT_EQ(exporter.Files().count("50% #1 & \xc3\xa9t\xc3\xa9_-1.wav"), 1u);
    EXPECT_NE(File("index.html").find("<a href=\"50%25%20%231%20%26%20%C3%A9t%C3%A9_-1.wav\">"
                                      "50% #1 &amp; \xc3\xa9t\xc3\xa9_-1.wav</a>"),
              std::string::npos);
}

TEST_F(ExportTest, ADamagedNoteIsListedWithWhatWasReadAndWhy)
{
    std::vector<uint8_t> bytes = samples::NoteFileBytes(samples::AllSamples()[1]);
    bytes.resize(bytes.size() - 30);  // into the text chunk
    exporter.AddNote("Jotling4.jot", bytes, 0);
    exporter.AddNote("Jotling5.jot", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 200), 0);
    exporter.Render("folder");
    ASSERT_EQ(exporter.Notes().size(), 2u);
    const exporter::NoteReading& cut = *exporter.Notes()[0].reading;
    EXPECT_EQ(cut.title, "Dentist");
    EXPECT_EQ(cut.content.strokes.size(), 3u);
    ASSERT_EQ(cut.problems.size(), 2u);
    EXPECT_NE(cut.problems[0].find("cut short"), std::string::npos);
    EXPECT_NE(cut.problems[1].find("cut at byte"), std::string::npos);
    const exporter::NoteReading& stub = *exporter.Notes()[1].reading;
    EXPECT_EQ(stub.title, "Dentist");  // what there is of the title
    EXPECT_NE(stub.problems[0].find("ends inside the title"), std::string::npos);
    EXPECT_NE(File("index.html").find("This note is damaged"), std::string::npos);
}

// The number that follows key, searching from at; -1 when there is none.
long long NumberAfter(const std::string& svg, const std::string& key, size_t at = 0)
{
    size_t found = svg.find(key, at);
    return found == std::string::npos ? -1 : std::stoll(svg.substr(found + key.size(), 20));
}

// The baseline of the picture's line of typed text that reads line.
long long Baseline(const std::string& svg, const std::string& line)
{
    size_t at = svg.find(">" + line + "</text>");
    return at == std::string::npos ? -1 : NumberAfter(svg, " y=\"", svg.rfind("<text ", at));
}

TEST_F(ExportTest, TextTypedAfterARecordingStandsBelowItsIconUnderTheInk)
{
    SampleNote note = Note(u"Memo", samples::Never());
    note.zoom = 300;  // the shortest page: the lines alone must make the picture tall enough
    note.content.text = u"before\nafter\nthen\nend";
    // Where the control puts a recording made after the first line; the ink
    // was written across the icon later.
    note.content.recordings.push_back({8, 80, samples::Tone(8000, 800)});
    note.content.strokes.push_back(samples::Stroke(0x000000, 8, {{0, 120}, {200, 120}}));
    Add("a.jot", note);
    exporter.Render("folder");
    const std::string& svg = File("Memo.svg");

    ASSERT_EQ(NumberAfter(svg, "class=\"recording\" transform=\"translate(8 "), 80);
    long long baseline = Baseline(svg, "after");
    ASSERT_GT(baseline, 0);
    EXPECT_GE(baseline - NumberAfter(svg, "font-size=\""), 80 + formats::kInkRecordingIconUnits)
        << "the line typed after the recording is under its icon";
    long long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(sscanf(svg.c_str() + svg.find("viewBox="), "viewBox=\"%lld %lld %lld %lld", &left, &top, &width,
                     &height), 4);
    EXPECT_LE(Baseline(svg, "end"), top + height) << "the picture cuts the last line off";
    EXPECT_LT(svg.find("class=\"recording\""), svg.find("class=\"stroke\""))
        << "the icon hides the ink written across it";
}

// Every line of typed text the picture draws, in order.
std::vector<std::string> TextLinesOf(const std::string& svg)
{
    std::vector<std::string> lines;
    for (size_t at = svg.find("preserve\">"); at != std::string::npos; at = svg.find("preserve\">", at + 1)) {
        size_t begin = at + 10;
        lines.push_back(svg.substr(begin, svg.find("</text>", begin) - begin));
    }
    return lines;
}

TEST_F(ExportTest, TypedTextWrapsAtThePagesWidthAndInkBeyondThePageStaysInView)
{
    SampleNote note = Note(u"Long", samples::Never());
    note.zoom = 100;
    std::u16string paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += u"word ";
    paragraph += u"end";
    note.content.text = paragraph + u"\nnext";
    note.content.strokes.push_back(samples::Stroke(0x000000, 8, {{-400, -80}, {200, 120}}));
    Add("a.jot", note);
    exporter.Render("folder");
    const std::string& svg = File("Long.svg");
    std::vector<std::string> lines = TextLinesOf(svg);
    ASSERT_GE(lines.size(), 5u) << "a paragraph of 200 letters on a 240 pixel page";
    ASSERT_LE(lines.size(), 12u);
    std::string joined;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 40u) << lines[i];
        joined += (i ? " " : "") + lines[i];
    }
    EXPECT_EQ(joined, exporter::Utf8FromUtf16(paragraph)) << "broken only at spaces";
    // The next paragraph stands on the row after the wrapped ones.
    EXPECT_EQ(Baseline(svg, "next") - Baseline(svg, lines[0]),
              static_cast<long long>(lines.size() - 1) * formats::kPageLinePitch);
    long long left = 0, top = 0;
    ASSERT_EQ(sscanf(svg.c_str() + svg.find("viewBox="), "viewBox=\"%lld %lld", &left, &top), 2);
    EXPECT_LE(left, -400 - 8);
    EXPECT_LE(top, -80 - 8);
}

TEST(FileNamesTest, NamesEveryDesktopAccepts)
{
    EXPECT_EQ(exporter::SafeFileName("a<b>c:d\"e/f\\g|h?i*j", "x"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(exporter::SafeFileName(" ..hidden. ", "x"), "hidden");
    EXPECT_EQ(exporter::SafeFileName("...", "fallback"), "fallback");
    EXPECT_EQ(exporter::SafeFileName("CON", "x"), "_CON");
    EXPECT_EQ(exporter::SafeFileName("com1.txt", "x"), "_com1.txt");
    EXPECT_EQ(exporter::SafeFileName("console", "x"), "console");
    std::string longTitle;
    for (int i = 0; i < 40; ++i)
        longTitle += "\xe6\x97\xa5";  // three bytes each
    EXPECT_EQ(exporter::SafeFileName(longTitle, "x").size(), 63u);  // cut between characters
    exporter::NameSet names;
    EXPECT_EQ(names.Claim("Note"), "Note");
    EXPECT_EQ(names.Claim("NOTE"), "NOTE (2)");
    EXPECT_EQ(names.Claim("note"), "note (3)");
    // Beyond ASCII, as NTFS and exFAT compare: one name on such a disk.
    EXPECT_EQ(names.Claim("\xc3\x84rger"), "\xc3\x84rger");                  // Ärger
    EXPECT_EQ(names.Claim("\xc3\xa4rger"), "\xc3\xa4rger (2)");              // ärger
    EXPECT_EQ(names.Claim("\xd0\x9f\xd0\xb8\xd1\x81\xd1\x8c\xd0\xbc\xd0\xbe"), "\xd0\x9f\xd0\xb8\xd1\x81\xd1\x8c\xd0\xbc\xd0\xbe");  // Письмо
    EXPECT_EQ(names.Claim("\xd0\xbf\xd0\x98\xd0\xa1\xd0\xac\xd0\x9c\xd0\x9e"), "\xd0\xbf\xd0\x98\xd0\xa1\xd0\xac\xd0\x9c\xd0\x9e (2)");  // пИСЬМО
    EXPECT_EQ(exporter::CaseFolded("a\xff\xc3"), "A\xff\xc3");  // no UTF-8: kept as it is
}

TEST(MarkupTest, TextFromTheDeviceBecomesWellFormedUtf8)
{
    const uint16_t pair[] = {0xD83D, 0xDE00, 'a', 0xDC00, 0};
    EXPECT_EQ(exporter::Utf8FromUtf16(pair, 5), "\xF0\x9F\x98\x80" "a\xEF\xBF\xBD");
    EXPECT_EQ(exporter::EscapeXml(std::string("a\x01<\"'&\xEF\xBF\xBFz", 10)), "a&lt;&quot;&#39;&amp;z");
    EXPECT_EQ(exporter::Base64({'M', 'a', 'n', 'M', 'a'}), "TWFuTWE=");
}

TEST(DeviceSettingsTest, ReadsValuesFromTheRegistryFilesText)
{
    std::string reg =
        "WINE REGISTRY Version 2\n\n[Software\\\\KORVA\\\\Jotlings] 1796804827\n#time=1dd\n"
        "\"Mode\"=dword:00000000\r\n\"Page\"=dword:00000004\n\n[Software\\\\Other]\n\"Page\"=dword:1\n";
    std::string found;
    ASSERT_TRUE(exporter::FindRegistryValue(reg, "Software\\KORVA\\Jotlings", "page", &found));
    EXPECT_EQ(found, "dword:00000004");
    EXPECT_FALSE(exporter::FindRegistryValue(reg, "Software\\KORVA", "Page", &found));
}

}  // namespace

namespace {

std::string Hex(const std::array<uint8_t, 32>& digest)
{
    std::string hex;
    char byte[3];
    for (uint8_t b : digest) {
        snprintf(byte, sizeof byte, "%02x", b);
        hex += byte;
    }
    return hex;
}

// The page lets its script run by the script's SHA-256; a wrong digest
// would leave the find field dead.
TEST(PageScriptTest, HashesAsSha256AndThePolicyNamesTheScript)
{
    EXPECT_EQ("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", Hex(exporter::Sha256("")));
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", Hex(exporter::Sha256("abc")));
    EXPECT_EQ("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1",
              Hex(exporter::Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")));
    EXPECT_EQ("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0",
              Hex(exporter::Sha256(std::string(1000000, 'a'))));

    exporter::Exporter exporter{exporter::DeviceSettings()};
    exporter.AddNote("a.jot", samples::NoteFileBytes(samples::AllSamples()[1]), 0);
    exporter.Render("folder");
    const std::string& page = exporter.Files().at("index.html");
    std::string script = exporter::FindScript();
    std::array<uint8_t, 32> digest = exporter::Sha256(script);
    std::string policy = "script-src 'sha256-" + exporter::Base64(std::vector<uint8_t>(digest.begin(), digest.end())) + "'";
    EXPECT_NE(std::string::npos, page.find(policy));
    EXPECT_NE(std::string::npos, page.find("<script>" + script + "</script>"));
    EXPECT_NE(std::string::npos, script.find("\"\\u00df\": \"ss\"")) << "the letters read as others";
}

}  // namespace

namespace {

// A reminder is due at the device's local time: the zone's rules, summer
// time and the southern half's wrap over the new year included.
TEST(DeviceTimeZoneTest, TurnsTheDevicesLocalTimeIntoUtc)
{
    using Transition = exporter::DeviceTimeZone::Transition;
    // Central Europe: summer from the last Sunday of March, 02:00, to the
    // last Sunday of October, 03:00.
    exporter::DeviceTimeZone berlin = exporter::DeviceTimeZone::FromRegistry(
        "[System\\\\CurrentControlSet\\\\Control\\\\TimeZoneInformation] 1\n"
        "\"Bias\"=dword:ffffffc4\n\"DaylightBias\"=dword:ffffffc4\n"
        "\"DaylightStart\"=hex:00,00,03,00,00,00,05,00,02,00,00,00,00,00,00,00\n"
        "\"StandardBias\"=dword:00000000\n"
        "\"StandardStart\"=hex:00,00,0a,00,00,00,05,00,\\\n  03,00,00,00,00,00,00,00\n");
    ASSERT_TRUE(berlin.Known());
    EXPECT_EQ(exporter::EnexTime(berlin.UtcSecondsOf(samples::Time(2026, 12, 9, 10, 5))), "20261209T090500Z");
    EXPECT_EQ(exporter::EnexTime(berlin.UtcSecondsOf(samples::Time(2026, 7, 1, 9, 30))), "20260701T073000Z");
    EXPECT_EQ(exporter::EnexTime(berlin.UtcSecondsOf(samples::Time(2026, 3, 29, 1, 59))), "20260329T005900Z");
    EXPECT_EQ(exporter::EnexTime(berlin.UtcSecondsOf(samples::Time(2026, 3, 29, 3, 0))), "20260329T010000Z");
    EXPECT_EQ(exporter::EnexTime(berlin.UtcSecondsOf(samples::Time(2026, 10, 25, 3, 0))), "20261025T020000Z");
    // Sydney: summer from the first Sunday of October to the first of April.
    exporter::DeviceTimeZone sydney = exporter::DeviceTimeZone::WithSummer(
        -600, -60, Transition{10, 0, 1, 2, 0}, Transition{4, 0, 1, 3, 0});
    EXPECT_EQ(exporter::EnexTime(sydney.UtcSecondsOf(samples::Time(2027, 1, 15, 12, 0))), "20270115T010000Z");
    EXPECT_EQ(exporter::EnexTime(sydney.UtcSecondsOf(samples::Time(2027, 6, 15, 12, 0))), "20270615T020000Z");
    EXPECT_FALSE(exporter::DeviceTimeZone::FromRegistry("[Software\\\\Other]\n\"Bias\"=dword:0\n").Known());
}

// Where a recording's icon stands among the lines is where its en-media
// stands in the ENML; the ink is one PNG named by its MD5.
TEST(EnexTest, PlacesTheInkAndEachRecordingWhereTheNoteHasThem)
{
    exporter::DeviceSettings settings;
    settings.zone = exporter::DeviceTimeZone::Fixed(0);
    exporter::Exporter exporter{settings};
    SampleNote note;
    note.title = u"Memo";
    note.expiry = samples::Time(2026, 12, 9, 10, 5);
    note.content.text = u"before\nafter";
    note.content.recordings.push_back({8, 20, samples::Tone(8000, 800)});  // on the first row
    note.content.recordings.push_back({8, 600, samples::Tone(8000, 400)});  // below the text
    note.content.strokes.push_back(samples::Stroke(0x000000, 8, {{-40, 120}, {200, 120}}));
    exporter.AddNote("a.jot", samples::NoteFileBytes(note), 0);
    exporter.Render("folder");
    const exporter::ExportedNote& e = exporter.Notes().front();
    std::string enml = exporter::EnexWriter(settings.zone, 16, 0).Enml(e);
    std::string first = exporter::Md5Hex(std::string(note.content.recordings[0].wave.begin(),
                                                     note.content.recordings[0].wave.end()));
    std::string second = exporter::Md5Hex(std::string(note.content.recordings[1].wave.begin(),
                                                      note.content.recordings[1].wave.end()));
    size_t picture = enml.find("<en-media type=\"image/png\" hash=\"" + exporter::Md5Hex(e.picture.png) + "\"/>");
    size_t icon1 = enml.find("hash=\"" + first + "\"");
    size_t before = enml.find("<div>before</div>");
    size_t after = enml.find("<div>after</div>");
    size_t icon2 = enml.find("hash=\"" + second + "\"");
    ASSERT_NE(picture, std::string::npos) << enml;
    EXPECT_TRUE(picture < icon1 && icon1 < before && before < after && after < icon2 && icon2 != std::string::npos)
        << enml;
    // The stroke left of the page's edge is in the picture: wider than the page.
    EXPECT_GT(e.picture.width, 240);
    const std::string& enex = exporter.Files().at("Jotlings.enex");
    EXPECT_NE(enex.find("<reminder-time>20261209T100500Z</reminder-time>"), std::string::npos);
    EXPECT_EQ(enex.find("reminder-done-time"), std::string::npos);
}

// A folder of the file system, removed with all it holds.
class TempFolder {
public:
    TempFolder()
    {
        char name[] = "/tmp/export-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder()
    {
        nftw(path.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 8,
             FTW_DEPTH | FTW_PHYS);
    }
    void Put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path + "/" + name, std::ios::binary) << bytes;
    }
    // Every file of the folder with its bytes.
    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        DIR* dir = opendir(path.c_str());
        while (dirent* entry = dir != nullptr ? readdir(dir) : nullptr) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") {
                std::ifstream in(path + "/" + name, std::ios::binary);
                files[name].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
        }
        if (dir != nullptr)
            closedir(dir);
        return files;
    }
    std::string path;
};

std::vector<std::string> Names(const std::map<std::string, std::string>& files)
{
    std::vector<std::string> names;
    for (const auto& f : files)
        names.push_back(f.first);
    return names;
}

// Exports notes (file: note) into out; the error, empty on success.
std::string ExportInto(const TempFolder& out, const std::string& notesFolder,
                       const std::vector<std::pair<std::string, SampleNote>>& notes)
{
    exporter::Exporter e{exporter::DeviceSettings()};
    for (size_t i = 0; i < notes.size(); ++i)
        e.AddNote(notes[i].first, samples::NoteFileBytes(notes[i].second), static_cast<long long>(i));
    e.Render("notes");
    std::string error;
    return e.WriteTo(out.path, notesFolder, &error) ? std::string() : error;
}

TEST(ExportFolderTest, AnExportAgainRemovesWhatTheLastOneWroteThereAndNothingElse)
{
    TempFolder out;
    out.Put("mine.txt", "the user's own");
    SampleNote trip;
    trip.title = u"Trip";
    trip.expiry = samples::Never();
    trip.content.text = u"pack";
    trip.content.recordings.push_back({40, 40, samples::Tone(8000, 800)});
    SampleNote other = trip;
    other.content.text.clear();
    other.content.recordings.clear();
    other.content.strokes.push_back(samples::Stroke(0, 8, {{0, 0}, {80, 80}}));
    ASSERT_EQ(ExportInto(out, "/nonexistent", {{"a.jot", trip}, {"b.jot", other}}), "");
    EXPECT_EQ(Names(out.Files()), (std::vector<std::string>{".jotlings-export", "Jotlings.enex", "Trip (2)-1.wav",
                                                            "Trip (2).svg", "Trip (2).txt", "Trip.svg", "index.html",
                                                            "mine.txt"}));
    // The one with text and sound is gone.
    ASSERT_EQ(ExportInto(out, "/nonexistent", {{"b.jot", other}}), "");
    std::map<std::string, std::string> files = out.Files();
    EXPECT_EQ(Names(files), (std::vector<std::string>{".jotlings-export", "Jotlings.enex", "Trip.svg", "index.html",
                                                      "mine.txt"}));
    EXPECT_EQ(files["mine.txt"], "the user's own");
    EXPECT_NE(files["Trip.svg"].find("class=\"stroke\""), std::string::npos);

    // A damaged list never leads out of the folder.
    TempFolder outside;
    outside.Put("keep", "x");
    out.Put(".jotlings-export", "../" + outside.path.substr(5) + "/keep\n/" + outside.path.substr(1) + "/keep\n..\n");
    ASSERT_EQ(ExportInto(out, "/nonexistent", {{"b.jot", other}}), "");
    EXPECT_EQ(outside.Files().count("keep"), 1u);
    EXPECT_EQ(out.Files().count("mine.txt"), 1u);
}

TEST(ExportFolderTest, AFailedWriteLeavesTheFolderAsItWasAndTheNotesFolderIsNeverMadeInto)
{
    TempFolder notes, out;
    SampleNote apple;
    apple.title = u"Apple";
    apple.expiry = samples::Never();
    apple.content.text = u"kept";
    ASSERT_EQ(ExportInto(out, notes.path, {{"a.jot", apple}}), "");
    std::map<std::string, std::string> before = out.Files();

    // Files past 64 KB fail as on a full disk: Jotlings.enex, which holds
    // the big recording, after the new Apple.svg and Apple.txt were written.
    SampleNote changed = apple;
    changed.content.text = u"new";
    SampleNote big;
    big.title = u"Zed";
    big.expiry = samples::Never();
    big.content.recordings.push_back({40, 40, samples::Tone(8000, 80000)});
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit limit = {64 * 1024, old.rlim_max};
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error = ExportInto(out, notes.path, {{"a.jot", changed}, {"b.jot", big}});
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_NE(error.find("the folder is left as it was"), std::string::npos) << error;
    std::map<std::string, std::string> after = out.Files();
    EXPECT_EQ(Names(after), Names(before));
    EXPECT_TRUE(after == before) << "a file changed: Apple.txt holds " << after["Apple.txt"];

    std::string refused;
    exporter::ExportFolder inside;
    EXPECT_FALSE(inside.Open(notes.path + "/out", notes.path, &refused));
    EXPECT_FALSE(inside.Open(notes.path + "/./", notes.path, &refused));
    struct stat st;
    EXPECT_NE(stat((notes.path + "/out").c_str(), &st), 0) << "made before it was refused";
}

}  // namespace
