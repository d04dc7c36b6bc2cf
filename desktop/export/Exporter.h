// Turns a notes folder into files a desktop opens: per note NAME.svg, NAME.txt
// when it has typed text and NAME-1.wav ... for its recordings, one
// index.html of them all, and Jotlings.enex for notes apps to import. The
// notes folder is only ever read.
#pragma once

#include "desktop/export/DeviceSettings.h"
#include "desktop/export/HtmlIndex.h"
#include "desktop/export/NoteReading.h"

#include <stdint.h>
#include <time.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace exporter {

extern const char kEnexFileName[];  // "Jotlings.enex"

class Exporter {
public:
    explicit Exporter(const DeviceSettings& settings) : settings_(settings) {}

    // Reads every "*.jot" of folder (the extension in any case, as the
    // device matches it) and every "*.jot.alarm", a note whose alarm is on
    // screen, as the note it is. False, with a reason, when the folder
    // cannot be read.
    bool ReadFolder(const std::string& folder, std::string* error);
    // Times in nanoseconds since 1970; modified -1 is the creation time.
    void AddNote(const std::string& fileName, std::vector<uint8_t> bytes, long long created,
                 long long modified = -1);
    // The export's own time, which the ENEX file states (now by default).
    void SetExportTime(long long utcSeconds) { exportSeconds_ = utcSeconds; }

    // Orders the notes, names them and draws them; the files' contents are
    // then in Files() and the page in Index().
    void Render(const std::string& folderLabel);
    const std::map<std::string, std::string>& Files() const { return files_; }
    const std::vector<ExportedNote>& Notes() const { return exported_; }

    // Writes Files() into folder as one export (see ExportFolder), made if
    // missing. False, with a reason, when it is the notes folder or inside
    // it, or a file cannot be written; the folder then stays as it was.
    bool WriteTo(const std::string& folder, const std::string& notesFolder, std::string* error) const;

private:
    DeviceSettings settings_;
    long long exportSeconds_ = static_cast<long long>(time(nullptr));
    std::vector<std::unique_ptr<NoteReading>> notes_;
    std::vector<ExportedNote> exported_;
    std::map<std::string, std::string> files_;  // name: bytes
};

}  // namespace exporter
