// index.html: every exported note in the list's order with its title,
// expiry, state, picture, text and recordings, in one page that needs
// nothing but itself (pictures inline, recordings as data).
#pragma once

#include "desktop/export/ExpiryText.h"
#include "desktop/export/InkPicture.h"
#include "desktop/export/NoteReading.h"

#include <string>
#include <vector>

namespace exporter {

struct ExportedNote {
    const NoteReading* reading = nullptr;
    uint32_t zoom = 200;                 // percent, as the note is shown
    std::string name;                    // file name stem
    std::string svg;                     // standalone picture
    InkPicture picture;                  // the ink alone, for the ENEX file
    std::vector<std::string> waveFiles;  // one per recording
    bool hasText = false;
};

// The page's script of its find field, as it stands in the page.
std::string FindScript();

std::string BuildIndexHtml(const std::vector<ExportedNote>& notes, const DateStyle& dates,
                           const std::string& folderLabel);

}  // namespace exporter
