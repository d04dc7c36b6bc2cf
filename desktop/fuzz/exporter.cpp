// The exporter on one note file of any bytes: it reads, orders, names and
// draws it, the note is listed in the page, and every file it would write
// has a name a desktop accepts.
#include "desktop/export/Exporter.h"
#include "desktop/fuzz/FuzzCheck.h"
#include "formats/PageStyle.h"

#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The input's length picks the page style and the date texts, so every
    // page's rules and every clock are drawn too.
    exporter::DeviceSettings settings;
    settings.pageSetting = static_cast<int>(size % formats::kPageSettingCount);
    settings.dates.dateOrder = static_cast<int>(size / 7 % 3);
    settings.dates.clock24 = size / 21 % 2 != 0;
    exporter::Exporter exporter{settings};
    exporter.AddNote("Jotling0.jot", std::vector<uint8_t>(data, data + size), 0);
    exporter.Render("fuzz");
    FUZZ_CHECK(exporter.Notes().size() == 1);
    const std::string& page = exporter.Files().at("index.html");
    FUZZ_CHECK(page.find("data-file=\"Jotling0.jot\"") != std::string::npos);
    for (const auto& file : exporter.Files()) {
        const std::string& name = file.first;
        FUZZ_CHECK(!name.empty() && name.size() < 100);
        for (char c : name)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && strchr("<>:\"/\\|?*", c) == nullptr);
    }
    const exporter::ExportedNote& note = exporter.Notes().front();
    FUZZ_CHECK(note.svg.find("<svg") != std::string::npos);
    FUZZ_CHECK(note.waveFiles.size() == note.reading->content.recordings.size());
    return 0;
}
