// fuzz-seeds OUTDIR [HELP_FILE...]: the seed corpus of each fuzz target,
// made by the writers the program saves with: notes of every kind (empty,
// ink, typed text in several scripts, recordings, never expiring, expired)
// and cut copies of them, the ink content alone, heads, and help files as
// UTF-16LE text.
#include "desktop/fuzz/NoteSamples.h"
#include "formats/HeadCache.h"

#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void Save(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    mkdir(folder.c_str(), 0777);
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: fuzz-seeds OUTDIR [HELP_FILE...]\n");
        return 2;
    }
    std::string out = argv[1];
    mkdir(out.c_str(), 0777);
    std::vector<samples::SampleNote> notes = samples::AllSamples();
    // A head cache of the samples' heads, as a start writes one, and cut.
    std::vector<formats::HeadCacheRecord> heads;
    for (size_t i = 0; i < notes.size(); ++i) {
        std::vector<uint8_t> file = samples::NoteFileBytes(notes[i]);
        formats::NoteFields fields;
        formats::ReadNoteFields(file.data(), file.size(), &fields);
        formats::HeadCacheRecord record;
        std::string name = "Jotling" + std::to_string(i) + ".jot";
        record.name = std::u16string(name.begin(), name.end());
        record.stamp = {133000000000000000ull + i, file.size()};
        record.expiry = fields.expiry;
        for (size_t u = 0; u < formats::kNoteTitleUnits && fields.title[u] != 0; ++u)
            record.title.push_back(char16_t(fields.title[u]));
        record.expired = fields.expired;
        record.whole = fields.Whole();
        heads.push_back(record);
    }
    std::vector<uint8_t> cache = formats::WriteHeadCache(u"\\My Documents\\My Jotlings", heads);
    Save(out + "/head_cache", "cache", cache);
    Save(out + "/head_cache", "cache-cut", std::vector<uint8_t>(cache.begin(), cache.begin() + cache.size() / 2));
    for (size_t i = 0; i < notes.size(); ++i) {
        std::string name = "seed" + std::to_string(i);
        std::vector<uint8_t> file = samples::NoteFileBytes(notes[i]);
        std::vector<uint8_t> ink = samples::InkBytes(notes[i]);
        Save(out + "/note_file", name, file);
        Save(out + "/exporter", name, file);
        Save(out + "/ink_content", name, ink);
        Save(out + "/note_head", name,
             std::vector<uint8_t>(file.begin(), file.begin() + std::min<size_t>(file.size(), 527)));
        // Cut copies: where damaged files end.
        if (file.size() > 600) {
            Save(out + "/note_file", name + "-cut", std::vector<uint8_t>(file.begin(), file.end() - 40));
            Save(out + "/ink_content", name + "-cut", std::vector<uint8_t>(ink.begin(), ink.end() - 40));
        }
    }
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Two leading bytes pick the topic and the width; then the units.
        for (uint8_t pick = 0; pick < 3; ++pick) {
            std::vector<uint8_t> bytes = {pick, static_cast<uint8_t>(100 + 50 * pick)};
            for (unsigned char c : text) {
                bytes.push_back(c);
                bytes.push_back(0);
            }
            Save(out + "/help_text", "help" + std::to_string(i) + "-" + std::to_string(pick), bytes);
        }
    }
    printf("seeds written to %s\n", out.c_str());
    return 0;
}
