#include "notestore/NoteRequests.h"

#include "process/MainMessages.h"
#include "process/UserPrompt.h"

namespace {

// A note file as an alarm found it damaged: by its name, and by its size
// and last write (or its absence).
struct DamagedFile {
    std::wstring path;
    bool present;
    ULONGLONG size;
    FILETIME written;
};

std::vector<DamagedFile>& DamagedAlarms()
{
    static std::vector<DamagedFile> files;
    return files;
}

bool FileAsItIs(const wchar_t* path, ULONGLONG* size, FILETIME* written)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return false;
    *size = ULONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    *written = data.ftLastWriteTime;
    return true;
}

}  // namespace

void NoteRequests::Attach(HWND window)
{
    mainWindow = window;
    SetPromptAnsweredNotice(window, kMsgRunDeferred);
}

bool NoteRequests::MustWait(Screen screen) const
{
    return underWay > 0 || PromptShowing() || screen.noteClosing;
}

void NoteRequests::Defer(const Request& request)
{
    for (Request& queued : waiting) {
        if (request.kind == Kind::Check && queued.kind == Kind::Check) {
            if (request.flag && !queued.flag)
                queued.path = request.path;
            queued.flag = queued.flag || request.flag;
            return;
        }
        if (request.kind != Kind::Check && queued.kind != Kind::Check) {
            queued = request;
            return;
        }
    }
    waiting.push_back(request);
}

bool NoteRequests::CheckWaitsForAlarm(Screen screen)
{
    checkAfterAlarm = screen.alarm;
    return screen.alarm;
}

bool NoteRequests::TakeNext(Screen screen, NoteEntryList& listed, Request* next)
{
    // Still waiting: whatever holds it up posts 1028 again when it ends.
    if (waiting.empty() || MustWait(screen))
        return false;
    if (waiting.front().kind != Kind::Check && screen.alarm)
        return false;
    *next = waiting.front();
    waiting.erase(waiting.begin());
    if (next->kind == Kind::Check)
        next->flag = next->flag && !next->path.empty() && listed.Find(next->path.c_str()) != nullptr;
    return true;
}

void NoteRequests::PostWaiting() const
{
    if (!waiting.empty() && mainWindow != nullptr)
        PostMessageW(mainWindow, kMsgRunDeferred, 0, 0);
}

void NoteRequests::RememberDamagedAlarm(const wchar_t* path)
{
    DamagedFile file = {path, false, 0, {0, 0}};
    file.present = FileAsItIs(path, &file.size, &file.written);
    DamagedAlarms().push_back(file);
}

bool NoteRequests::IsDamagedAlarm(const wchar_t* path)
{
    if (path == nullptr)
        return false;
    std::vector<DamagedFile>& files = DamagedAlarms();
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].path != path)
            continue;
        ULONGLONG size = 0;
        FILETIME written = {0, 0};
        bool present = FileAsItIs(path, &size, &written);
        if (present == files[i].present && size == files[i].size &&
            CompareFileTime(&written, &files[i].written) == 0)
            return true;
        // Another file under that name now, or gone: it is no longer the
        // file the user was told about.
        files.erase(files.begin() + i);
        return false;
    }
    return false;
}
