// Jotlings.enex: every exported note in Evernote's export format, which
// the notes apps of today import (Evernote, Apple Notes, Joplin, Notesnook,
// OneNote's and Obsidian's importers). A note's content is ENML: its typed
// text as paragraphs, its ink as one PNG picture, each recording as an
// audio/wav resource where its icon stands among the lines, and for a
// damaged note a line saying what could not be read. Its expiry is the
// note's reminder, in UTC.
#pragma once

#include "desktop/export/DeviceTimeZone.h"
#include "desktop/export/HtmlIndex.h"

#include <string>
#include <vector>

namespace exporter {

class XmlOut;

class EnexWriter {
public:
    // pageStyle places the lines (formats/PageStyle.h), as on the device.
    EnexWriter(const DeviceTimeZone& zone, int pageStyle, long long exportSeconds)
        : zone_(zone), pageStyle_(pageStyle), exportSeconds_(exportSeconds)
    {
    }

    // The whole file; empty when the XML writer failed.
    std::string Build(const std::vector<ExportedNote>& notes) const;
    // A note's ENML document, as it stands in its content element.
    std::string Enml(const ExportedNote& note) const;

private:
    void WriteNote(XmlOut& out, const ExportedNote& note) const;
    void WriteAttributes(XmlOut& out, const ExportedNote& note) const;

    DeviceTimeZone zone_;
    int pageStyle_;
    long long exportSeconds_;
};

// "20261209T090500Z": the format's timestamps, always UTC.
std::string EnexTime(long long utcSeconds);

}  // namespace exporter
