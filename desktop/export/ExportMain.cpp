// jotlings-export OUTDIR NOTES_FOLDER [PREFIX]: the desktop end of
// `device/device export`. PREFIX is the device's Wine prefix, whose registry
// gives the page style and the date texts.
#include "desktop/export/Exporter.h"

#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        fprintf(stderr, "usage: jotlings-export OUTDIR NOTES_FOLDER [WINE_PREFIX]\n");
        return 2;
    }
    std::string out = argv[1];
    std::string notes = argv[2];
    exporter::DeviceSettings settings;
    if (argc == 4)
        settings = exporter::ReadDeviceSettings(argv[3]);
    exporter::Exporter exporter(settings);
    std::string error;
    if (!exporter.ReadFolder(notes, &error)) {
        fprintf(stderr, "jotlings-export: %s\n", error.c_str());
        return 1;
    }
    exporter.Render(notes);
    if (!exporter.WriteTo(out, notes, &error)) {
        fprintf(stderr, "jotlings-export: %s\n", error.c_str());
        return 1;
    }
    size_t damaged = 0;
    for (const exporter::ExportedNote& n : exporter.Notes()) {
        if (!n.reading->problems.empty()) {
            ++damaged;
            fprintf(stderr, "%s: damaged: %s\n", n.reading->fileName.c_str(),
                    n.reading->problems.front().c_str());
        }
    }
    printf("%zu notes (%zu damaged) exported to %s/index.html\n", exporter.Notes().size(), damaged,
           out.c_str());
    return 0;
}
