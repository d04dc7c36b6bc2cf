#include "desktop/export/Exporter.h"

#include "desktop/export/EnexWriter.h"
#include "desktop/export/ExportFolder.h"
#include "desktop/export/FileNames.h"
#include "desktop/export/Markup.h"
#include "desktop/export/NoteOrder.h"
#include "desktop/export/SvgPage.h"
#include "formats/PageStyle.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

namespace exporter {

const char kEnexFileName[] = "Jotlings.enex";

namespace {

const char kAsideSuffix[] = ".jot.alarm";

bool EndsWith(const std::string& name, const std::string& suffix)
{
    if (name.size() < suffix.size())
        return false;
    std::string tail = name.substr(name.size() - suffix.size());
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == suffix;
}

// A note file, or one whose alarm is on screen: the program sets a note
// aside under ".jot.alarm" while its alarm shows, and one that crashed
// then leaves it so until its next start puts it back.
bool IsNoteFile(const std::string& name)
{
    return EndsWith(name, ".jot") || EndsWith(name, kAsideSuffix);
}

// The creation time Wine reports for the file: its birth time where the
// file system keeps one, else the older of its change and modification times.
long long CreatedTime(const std::string& path)
{
#ifdef STATX_BTIME
    struct statx sx;
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) == 0 &&
        (sx.stx_mask & STATX_BTIME) != 0)
        return sx.stx_btime.tv_sec * 1000000000LL + sx.stx_btime.tv_nsec;
#endif
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return 0;
    long long mtime = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    long long ctime = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    return std::min(mtime, ctime);
}

long long ModifiedTime(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return 0;
    return st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string Stem(const std::string& fileName)
{
    size_t suffix = EndsWith(fileName, kAsideSuffix) ? sizeof kAsideSuffix - 1 : 4;
    return fileName.substr(0, fileName.size() > suffix ? fileName.size() - suffix : 0);
}

}  // namespace

bool Exporter::ReadFolder(const std::string& folder, std::string* error)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        *error = "cannot read the notes folder " + folder + ": " + strerror(errno);
        return false;
    }
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (IsNoteFile(name))
            names.push_back(name);
    }
    closedir(dir);
    // The device lists in its own order; a fixed one keeps exports comparable.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string path = folder + "/" + name;
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        std::vector<uint8_t> bytes;
        if (!ReadFile(path, &bytes)) {
            // Listed all the same: a note never disappears from an export.
            AddNote(name, {}, CreatedTime(path), ModifiedTime(path));
            notes_.back()->problems.insert(notes_.back()->problems.begin(),
                                           "The file could not be read.");
            continue;
        }
        AddNote(name, static_cast<std::vector<uint8_t>&&>(bytes), CreatedTime(path), ModifiedTime(path));
    }
    return true;
}

void Exporter::AddNote(const std::string& fileName, std::vector<uint8_t> bytes, long long created,
                       long long modified)
{
    std::unique_ptr<NoteReading> note(new NoteReading);
    ReadNote(static_cast<std::vector<uint8_t>&&>(bytes), note.get());
    note->fileName = fileName;
    note->created = created;
    note->modified = modified >= 0 ? modified : created;
    notes_.push_back(static_cast<std::unique_ptr<NoteReading>&&>(note));
}

void Exporter::Render(const std::string& folderLabel)
{
    std::vector<NoteReading*> order;
    for (const std::unique_ptr<NoteReading>& n : notes_)
        order.push_back(n.get());
    SortByTime(order);

    NameSet names;
    names.Claim("index");  // index.html
    exported_.clear();
    files_.clear();
    PageLook look;
    look.pageStyle = formats::PageStyleOfSetting(settings_.pageSetting);
    for (NoteReading* note : order) {
        ExportedNote e;
        e.reading = note;
        std::string stem = Stem(note->fileName);
        e.name = names.Claim(SafeFileName(note->title, SafeFileName(stem, "Jotling")));
        look.zoom = note->fields.extent >= formats::NoteExtent::Zoom ? note->fields.zoom : 200;
        e.zoom = look.zoom;
        e.svg = RenderSvg(note->content, look, true);
        e.picture = RenderInkPng(note->content, look);
        files_[e.name + ".svg"] = e.svg;
        e.hasText = !note->content.text.empty();
        if (e.hasText)
            files_[e.name + ".txt"] = Utf8FromUtf16(note->content.text) + "\n";
        for (size_t i = 0; i < note->content.recordings.size(); ++i) {
            std::string wave = e.name + "-" + std::to_string(i + 1) + ".wav";
            const std::vector<uint8_t>& bytes = note->content.recordings[i].wave;
            files_[wave] = std::string(bytes.begin(), bytes.end());
            e.waveFiles.push_back(wave);
        }
        exported_.push_back(e);
    }
    files_["index.html"] = BuildIndexHtml(exported_, settings_.dates, folderLabel);
    files_[kEnexFileName] = EnexWriter(settings_.zone, look.pageStyle, exportSeconds_).Build(exported_);
}

bool Exporter::WriteTo(const std::string& folder, const std::string& notesFolder,
                       std::string* error) const
{
    ExportFolder out;
    return out.Open(folder, notesFolder, error) && out.Write(files_, "index.html", error);
}

}  // namespace exporter
