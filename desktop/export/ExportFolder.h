// The folder an export is written into. Every file goes to a temporary name
// first and is renamed into place only when all of them were written and
// closed without error, the page last: a full disk or a failed write leaves
// the folder as it was, never half of a new export beside an old page. The
// folder keeps a list of what the last export wrote (kExportListName), so a later
// export removes its own files that are no longer part of it, and nothing
// else.
#pragma once

#include <map>
#include <string>

namespace exporter {

extern const char kExportListName[];  // ".jotlings-export"

class ExportFolder {
public:
    // Refuses (false, with a reason) a folder that is the notes folder or
    // inside it, before anything is made; makes the folder when missing.
    bool Open(const std::string& folder, const std::string& notesFolder, std::string* error);

    // Writes files (name: bytes) as one export; pageName is renamed into
    // place after every other file. False, with a reason, when a file
    // cannot be written; the folder then holds what it held before.
    bool Write(const std::map<std::string, std::string>& files, const std::string& pageName,
               std::string* error);

private:
    std::string path_;
};

}  // namespace exporter
