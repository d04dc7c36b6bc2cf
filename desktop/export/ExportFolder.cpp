#include "desktop/export/ExportFolder.h"

#include "desktop/export/FileNames.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <vector>

namespace exporter {

const char kExportListName[] = ".jotlings-export";

namespace {

const char kPartPrefix[] = ".jotlings-part-";
const char kListHeader[] =
    "# The files the last Jotlings export wrote into this folder, one a line.\n"
    "# The next export removes those it does not write again, and nothing else.\n";

std::string RealPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The absolute path folder has or will have once made: a missing folder is
// judged by where its parent really is.
std::string WouldBePath(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string real = RealPath(folder);
    if (!real.empty())
        return real;
    size_t slash = folder.rfind('/');
    std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    std::string base = slash == std::string::npos ? folder : folder.substr(slash + 1);
    std::string realParent = RealPath(parent);
    if (realParent.empty() || base.empty() || base == "." || base == "..")
        return std::string();
    return (realParent == "/" ? "" : realParent) + "/" + base;
}

bool IsInside(const std::string& path, const std::string& folder)
{
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              (folder == "/" || path[folder.size()] == '/'));
}

bool WriteWhole(const std::string& path, const std::string& bytes, std::string* reason)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        *reason = strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *reason = n < 0 ? strerror(errno) : "nothing was written";
            close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    // A file system may report a full disk only when the file is closed.
    if (close(fd) != 0) {
        *reason = strerror(errno);
        return false;
    }
    return true;
}

// The names the last export listed; a damaged list gives only plain names
// of this folder, never a path that leads out of it.
std::vector<std::string> ReadList(const std::string& path)
{
    std::vector<std::string> names;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return names;
    std::string text;
    char block[4096];
    ssize_t n;
    while (text.size() < (1u << 22) && ((n = read(fd, block, sizeof block)) > 0 || (n < 0 && errno == EINTR))) {
        if (n > 0)
            text.append(block, static_cast<size_t>(n));
    }
    close(fd);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string name = text.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name[0] == '#' || name == "." || name == ".." ||
            name.find('/') != std::string::npos || name.find('\0') != std::string::npos ||
            name == kExportListName || name.compare(0, sizeof kPartPrefix - 1, kPartPrefix) == 0)
            continue;
        names.push_back(name);
    }
    return names;
}

// Parts an interrupted export left behind.
void RemoveLeftParts(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> parts;
    while (dirent* entry = readdir(dir)) {
        if (strncmp(entry->d_name, kPartPrefix, sizeof kPartPrefix - 1) == 0)
            parts.push_back(entry->d_name);
    }
    closedir(dir);
    for (const std::string& part : parts)
        unlink((folder + "/" + part).c_str());
}

}  // namespace

bool ExportFolder::Open(const std::string& folder, const std::string& notesFolder, std::string* error)
{
    std::string out = WouldBePath(folder);
    if (out.empty()) {
        *error = "cannot use " + folder + ": " + strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    std::string notes = RealPath(notesFolder);
    if (!notes.empty() && IsInside(out, notes)) {
        *error = "the export folder " + folder + " is the notes folder or inside it; "
                 "nothing is written there";
        return false;
    }
    if (mkdir(out.c_str(), 0777) != 0 && errno != EEXIST) {
        *error = "cannot make " + folder + ": " + strerror(errno);
        return false;
    }
    struct stat st;
    if (stat(out.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *error = "cannot use " + folder + ": it is not a folder";
        return false;
    }
    path_ = out;
    return true;
}

bool ExportFolder::Write(const std::map<std::string, std::string>& files, const std::string& pageName,
                         std::string* error)
{
    RemoveLeftParts(path_);
    std::string list = kListHeader;
    std::vector<std::string> order;  // the page last
    std::set<std::string> written;   // as the disk compares names
    for (const auto& file : files) {
        if (file.first != pageName)
            order.push_back(file.first);
        list += file.first + "\n";
        written.insert(CaseFolded(file.first));
    }
    if (files.count(pageName) != 0)
        order.push_back(pageName);
    order.push_back(kExportListName);

    // Every file under a name of its own first: nothing in place is touched
    // until all of them are on the disk.
    std::vector<std::string> parts;
    for (size_t i = 0; i < order.size(); ++i) {
        std::string part = path_ + "/" + kPartPrefix + std::to_string(i + 1);
        const std::string& bytes = order[i] == kExportListName ? list : files.at(order[i]);
        std::string reason;
        if (!WriteWhole(part, bytes, &reason)) {
            unlink(part.c_str());
            for (const std::string& p : parts)
                unlink(p.c_str());
            *error = "cannot write " + path_ + "/" + order[i] + ": " + reason +
                     "; the folder is left as it was";
            return false;
        }
        parts.push_back(part);
    }

    std::vector<std::string> stale;
    for (const std::string& name : ReadList(path_ + "/" + kExportListName)) {
        if (written.count(CaseFolded(name)) == 0)
            stale.push_back(name);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        // The list goes last: until then the old one still names every
        // stale file, so an export cut short here removes them next time.
        if (order[i] == kExportListName) {
            for (const std::string& name : stale) {
                std::string path = path_ + "/" + name;
                struct stat st;
                if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                    unlink(path.c_str());
            }
        }
        std::string target = path_ + "/" + order[i];
        if (rename(parts[i].c_str(), target.c_str()) != 0) {
            *error = "cannot put " + target + " in place: " + strerror(errno);
            for (size_t j = i; j < parts.size(); ++j)
                unlink(parts[j].c_str());
            return false;
        }
    }
    return true;
}

}  // namespace exporter
