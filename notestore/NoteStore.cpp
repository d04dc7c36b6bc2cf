#include "notestore/NoteStore.h"

#include "dialogs/OptionSettings.h"
#include "notes/ExpiryRules.h"
#include "notes/HeadCacheFile.h"
#include "notes/NoteFile.h"
#include "notes/NoteSort.h"
#include "notestore/FileNoteWindow.h"
#include "platform/common/Text.h"
#include "process/Application.h"
#include "process/MainMessages.h"
#include "process/Settings.h"
#include "process/UserPrompt.h"

#include <aygshell.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>


namespace {

const wchar_t kNotDeletedText[] =
    L"Some of the selected jotlings could not be deleted. They are still in the list; try again later.";
const wchar_t kNotMarkedText[] =
    L"Some of the selected jotlings could not be set as expired:";

}  // namespace

NoteStore::NoteStore(const wchar_t* folder, const wchar_t* extension, const wchar_t* headCache)
{
    CopyText(notesFolder, MAX_PATH, folder);
    CopyText(headCachePath, MAX_PATH, headCache != nullptr ? headCache : L"");
    CopyText(noteExtension, 8, extension);
    textCache.SetFolder(notesFolder, noteExtension);
    LoadFolder();
}

NoteStore::~NoteStore()
{
    // The program is ending, however it was told to: the note on screen is
    // stored first as ok stores it, then its window goes in any case.
    if (currentNoteWindow != nullptr)
        currentNoteWindow->RequestClose();
    delete currentNoteWindow;
    currentNoteWindow = nullptr;
    SaveHeadCache();
    ClearEntries();
}

void NoteStore::LoadFolder()
{
    ClearEntries();
    textCache.Revalidate();
    // Every open of a note is a round trip to the file system's server:
    // 10,000 heads took a second and a half to read. The listing gives
    // each file's size and last write time, and a head kept with the same
    // is taken from the cache instead.
    HeadCacheFile cache(headCachePath, notesFolder);
    cache.Load();
    FILETIME readAt;
    GetSystemTimeAsFileTime(&readAt);
    size_t kept = 0;
    bool read = false;
    ForEachFileEndingIn(notesFolder, noteExtension, [&](const wchar_t* path, const WIN32_FIND_DATAW& found) {
        NoteHead head;
        NoteFileStamp stamp = StampOf(found);
        // A file written between the listing and the read keeps the
        // listing's stamp: it differs from the next listing's, and the head
        // is read again then.
        bool cached = cache.Find(found, &head);
        if (!cached && !ReadNoteHeadWaiting(path, &head))
            return;
        NoteEntry* entry = AddEntry(path, head);
        if (entry == nullptr)
            return;
        kept += cached ? 1 : 0;
        read = read || !cached;
        entry->stamp = stamp;
        entry->settled = cached || StampSettled(stamp, readAt);
        // The listing carries each file's creation time, which the sort by
        // time needs: taken here, no file is asked for it again.
        FileTimeToSystemTime(&found.ftCreationTime, &entry->created);
    });
    headCacheStale = read || kept != cache.Count();
}

NoteEntry* NoteStore::LoadEntry(const wchar_t* path)
{
    NoteHead head;
    NoteFileStamp stamp;
    if (path == nullptr || !ReadNoteHeadWaiting(path, &head, &stamp))
        return nullptr;
    NoteEntry* entry = AddEntry(path, head);
    if (entry != nullptr) {
        entry->stamp = stamp;
        headCacheStale = true;
    }
    return entry;
}

void NoteStore::SaveHeadCache()
{
    if (!headCacheStale || headCachePath[0] == L'\0')
        return;
    HeadCacheFile cache(headCachePath, notesFolder);
    if (cache.Save(entries))
        headCacheStale = false;
}

NoteEntry* NoteStore::AddEntry(const wchar_t* path, const NoteHead& head)
{
    return entries.Append(path, head);
}

NoteEntry* NoteStore::RemoveEntry(NoteEntry* entry)
{
    return entries.Remove(entry);
}

int NoteStore::RemoveEntryByPath(const wchar_t* path)
{
    return entries.RemoveByPath(path);
}

void NoteStore::ClearEntries()
{
    entries.Clear();
}

int NoteStore::EntryCount()
{
    return entries.Count();
}

NoteEntry* NoteStore::EntryAt(int position)
{
    return entries.At(position);
}

NoteEntry* NoteStore::FindEntry(const wchar_t* path)
{
    return entries.Find(path);
}

void NoteStore::SortByColumn(int request)
{
    SortNotes(entries, request, &order);
}

NoteRequests::Screen NoteStore::OnScreen() const
{
    NoteRequests::Screen screen;
    if (currentNoteWindow != nullptr) {
        screen.noteShown = currentNoteWindow->Window() != nullptr;
        screen.noteClosing = currentNoteWindow->Closing();
        screen.alarm = screen.noteShown && currentNoteWindow->Mode() == OpenMode::Alarm;
    }
    return screen;
}

bool NoteStore::MustWait() const
{
    return requests.MustWait(OnScreen());
}

void NoteStore::RunDeferredRequest()
{
    NoteRequests::Request next;
    if (!requests.TakeNext(OnScreen(), entries, &next))
        return;
    switch (next.kind) {
    case NoteRequests::Kind::Check:
        CheckExpired(next.flag);
        break;
    case NoteRequests::Kind::Open:
        OpenNoteByPath(next.path.c_str());
        break;
    case NoteRequests::Kind::New:
        NewNote(next.flag);
        break;
    }
    requests.PostWaiting();
}

bool NoteStore::AttachMainWindow(HWND window)
{
    mainWindow = window;
    requests.Attach(window);
    // Notes whose alarm was on screen when the program died come back first.
    if (FileNoteWindow::RestoreNotesLeftAside(notesFolder, noteExtension) > 0) {
        LoadFolder();
        // The Today item lists and schedules a note put back as any other.
        g_application->SignalChange();
    }
    // Here, not at the load: a second start of the program loads the notes
    // too, then hands its request over and ends without writing anything.
    SaveHeadCache();
    if (g_application->Notify() || IsTodayItemEnabled())
        return CheckExpired(false);
    return false;
}

bool NoteStore::CheckExpired(bool force)
{
    if (MustWait()) {
        // A forced check that waits keeps the note it would open now: the
        // reason it was forced.
        std::wstring forcedFor;
        if (force) {
            DueNotes due = FindDueNotes(true);
            if (!due.paths.empty())
                forcedFor = due.paths.front();
        }
        requests.Defer({NoteRequests::Kind::Check, force, forcedFor});
        return false;
    }
    if (requests.CheckWaitsForAlarm(OnScreen()))
        return false;
    NoteRequests::Scope scope(requests);
    bool opened = OpenDueNote(force);
    if (opened)
        RefreshList();
    return opened;
}

NoteStore::DueNotes NoteStore::FindDueNotes(bool force)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::vector<std::pair<ULONGLONG, std::wstring>> due;
    DueNotes found;
    {
        NoteEntryLock lock(entries);
        const NoteEntry* earliest = nullptr;
        bool damagedDue = false;
        for (NoteEntry* e = entries.First(); e != nullptr; e = e->next) {
            // Never due, and never the one a forced check falls back on: a
            // note that never expires, and one whose date is no date.
            if (!IsAlarmTime(e->expiry))
                continue;
            bool isDue = e->expired == 0 && CompareTimes(e->expiry, now) != 1;
            // A note whose alarm found its file damaged in this run is left
            // alone; being due, it still keeps the forced check from
            // falling back on some other note.
            if (NoteRequests::IsDamagedAlarm(e->path.c_str()))
                damagedDue = damagedDue || isDue;
            else if (isDue)
                due.push_back({TimeKey(e->expiry), e->path});
            // A note marked expired has had its alarm: a timed run that came
            // a moment early is for the pending note after it.
            else if (e->expired == 0 && (earliest == nullptr || CompareTimes(e->expiry, earliest->expiry) != 1))
                earliest = e;
        }
        if (due.empty() && !damagedDue && force && earliest != nullptr) {
            found.paths.push_back(earliest->path);
            found.fallback = true;
            return found;
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& note : due)
        found.paths.push_back(std::move(note.second));
    return found;
}

// Opens the earliest due note; a note whose file turns out damaged is passed
// over for the next. With force and none due, the earliest of all.
bool NoteStore::OpenDueNote(bool force)
{
    DueNotes first = FindDueNotes(force);
    if (first.paths.empty())
        return false;
    // The note on screen is closed and saved before anything is decided: the
    // user may have just moved it to a later time, and then it is not due.
    // Nor does a forced check fall back on it: its run was for the old time.
    // (A window closed already is on screen no more: a snoozed note is kept
    // under the name its alarm had.)
    std::wstring onScreen =
        currentNoteWindow != nullptr && currentNoteWindow->Window() != nullptr ? currentNoteWindow->FilePath() : L"";
    if (!CloseNoteWindow())
        return false;
    DueNotes due = FindDueNotes(force && first.fallback && first.paths.front() != onScreen);
    for (size_t i = 0; i < due.paths.size(); ++i) {
        if (OpenCurrent(due.paths[i].c_str(), OpenMode::Alarm) != nullptr) {
            requests.SetMoreDue(i + 1 < due.paths.size());
            return true;
        }
        if (!NoteRequests::IsDamagedAlarm(due.paths[i].c_str()))
            break;   // not a damaged file: the note on screen stayed open
    }
    return false;
}

bool NoteStore::CloseCurrentNote()
{
    // Not while a request is under way or a question is up: the note window
    // being opened, or the one asking, is still in use below.
    if (MustWait())
        return false;
    return CloseNoteWindow();
}

bool NoteStore::CloseNoteWindow()
{
    if (currentNoteWindow != nullptr) {
        currentNoteWindow->RequestClose();
        if (currentNoteWindow->Window() != nullptr)
            return false;   // kept open: the user was told why
        delete currentNoteWindow;
        currentNoteWindow = nullptr;
    }
    noteWindowOpen = false;
    return true;
}

// path is the caller's copy: closing the note before may free the entry it
// came from.
HWND NoteStore::OpenCurrent(const wchar_t* path, int mode)
{
    if (!CloseNoteWindow())
        return nullptr;
    HWND owner = ListWindowHandle();
    currentNoteWindow = new FileNoteWindow();
    noteWindowOpen = true;
    HWND shown = currentNoteWindow->Open(owner, path, mode, mainWindow);
    if (currentNoteWindow->Window() != nullptr && (mode & OpenMode::ModeMask) == OpenMode::Alarm &&
        path != nullptr) {
        // Neither list shows a note while its alarm is up.
        RemoveEntryByPath(path);
        textCache.Forget(path);
    }
    if (currentNoteWindow->Window() == nullptr) {
        delete currentNoteWindow;
        currentNoteWindow = nullptr;
        noteWindowOpen = false;
        return nullptr;
    }
    return shown != nullptr ? shown : currentNoteWindow->Window();
}

HWND NoteStore::NewNote(bool fromRecordButton)
{
    if (MustWait()) {
        requests.Defer({NoteRequests::Kind::New, fromRecordButton, L""});
        return nullptr;
    }
    NoteRequests::Scope scope(requests);
    return OpenCurrent(nullptr, OpenMode::New | (fromRecordButton ? OpenMode::StartRecording : 0));
}

void NoteStore::OpenNote(int position)
{
    if (position < 0 || MustWait())
        return;
    wchar_t path[MAX_PATH];
    {
        NoteEntryLock lock(entries);
        NoteEntry* entry = EntryAtRow(position);
        if (entry == nullptr)
            return;
        CopyText(path, MAX_PATH, entry->path.c_str());
    }
    NoteRequests::Scope scope(requests);
    OpenCurrent(path, OpenMode::Open);
}

void NoteStore::AfterAlarm(NoteRequests::Kind kind, const wchar_t* path)
{
    requests.Defer({kind, false, path != nullptr ? path : L""});
    requests.PostWaiting();
}

void NoteStore::OpenNoteByPath(const wchar_t* path)
{
    if (path == nullptr)
        return;
    if (MustWait()) {
        requests.Defer({NoteRequests::Kind::Open, false, path});
        return;
    }
    if (FindEntry(path) == nullptr)
        return;
    NoteRequests::Scope scope(requests);
    wchar_t copy[MAX_PATH];
    CopyText(copy, MAX_PATH, path);
    OpenCurrent(copy, OpenMode::Open);
}

// The notes the user selected, taken once: the list may be filled again
// (an alarm, a save) while a question about them is on screen.
std::vector<std::wstring> NoteStore::SelectedPaths()
{
    std::vector<std::wstring> paths;
    std::vector<int> rows = SelectedRows();
    NoteEntryLock lock(entries);
    for (int row : rows) {
        NoteEntry* entry = EntryAtRow(row);
        if (entry != nullptr)
            paths.push_back(entry->path);
    }
    return paths;
}

void NoteStore::ActOnSelected(void (NoteStore::*act)(const std::vector<std::wstring>& paths))
{
    if (MustWait())
        return;
    NoteRequests::Scope scope(requests);
    std::vector<std::wstring> paths = SelectedPaths();
    if (!paths.empty())
        (this->*act)(paths);
}

void NoteStore::DeleteSelected()
{
    ActOnSelected(&NoteStore::DeleteNotes);
}

void NoteStore::DeleteNotes(const std::vector<std::wstring>& paths)
{
    const wchar_t* text = paths.size() == 1 ? L"Do you really want to delete selected jotling?"
                                            : L"Do you really want to delete selected jotlings?";
    HWND owner = window != nullptr ? window : mainWindow;
    if (AskUser(owner, text, L"Warning!", MB_YESNO) != IDYES)
        return;
    // Exactly the notes asked about; one deleted meanwhile is left alone,
    // and one whose file stays keeps its row.
    bool allGone = true;
    for (const std::wstring& path : paths) {
        if (FindEntry(path.c_str()) == nullptr)
            continue;
        if (DeleteNoteFile(path.c_str())) {
            RemoveEntryByPath(path.c_str());
            textCache.Forget(path);
            headCacheStale = true;
        } else
            allGone = false;
    }
    RefreshList();
    g_application->SignalChange();
    if (!allGone)
        AskUser(owner, kNotDeletedText, L"Jotlings", MB_OK | MB_ICONWARNING);
}

void NoteStore::SetSelectedExpired()
{
    ActOnSelected(&NoteStore::SetNotesExpired);
}

void NoteStore::SetNotesExpired(const std::vector<std::wstring>& paths)
{
    FileNoteWindow marker;
    std::wstring notMarked;
    for (const std::wstring& path : paths) {
        NoteEntry* entry = FindEntry(path.c_str());
        if (entry == nullptr || NeverExpires(entry->expiry))
            continue;
        marker.Open(ListWindowHandle(), path.c_str(), OpenMode::MarkExpired, mainWindow);
        // The list shows what the file says, as the Today item and the
        // next start read it: a damaged note, a read-only file or a failed
        // save stays pending.
        NoteHead written;
        NoteFileStamp stamp;
        bool read = ReadNoteHeadWaiting(path.c_str(), &written, &stamp);
        entry = FindEntry(path.c_str());
        if (entry != nullptr && read) {
            entry->expired = written.expired != 0 ? 1 : 0;
            entry->stamp = stamp;
            entry->settled = false;
            headCacheStale = true;
        }
        if (read && written.expired != 0)
            continue;
        const wchar_t* name = wcsrchr(path.c_str(), L'\\');
        notMarked += L"\n";
        notMarked += entry != nullptr && !entry->title.empty() ? entry->title.c_str()
                                                               : name != nullptr ? name + 1 : path.c_str();
    }
    RefreshList();
    if (!notMarked.empty()) {
        HWND owner = window != nullptr ? window : mainWindow;
        AskUser(owner, (kNotMarkedText + notMarked).c_str(), L"Jotlings", MB_OK | MB_ICONWARNING);
    }
}

void NoteStore::PreviewNote(int position)
{
    if (position < 0)
        return;
    NoteEntryLock lock(entries);
    NoteEntry* entry = EntryAtRow(position);
    if (entry == nullptr)
        return;
    NoteRecord* record = new NoteRecord();
    FileNoteWindow reader;
    reader.Open(nullptr, entry->path.c_str(), OpenMode::LoadRecord, nullptr, record);
    SetPreview(nullptr, nullptr);
    SetPreview(record, entry->path.c_str());
}

void NoteStore::ApplyOptions()
{
    StoreOptionValues(options.Values(), *g_application);
    list.RefreshFont();
}

void NoteStore::ShowOptions(HWND parent)
{
    LoadOptionValues(*g_application, &options.Values());
    options.Open(parent);
}

void NoteStore::ShowAbout()
{
    PostMessageW(mainWindow, WM_COMMAND, kCmdAbout, 0);
}

void NoteStore::OnActivate()
{
    if (noteWindowOpen && currentNoteWindow != nullptr && currentNoteWindow->Window() != nullptr)
        currentNoteWindow->BringToFront();
}

void NoteStore::OnNoteClosed()
{
    Show();
    noteWindowOpen = false;
    // Whatever came in while the window was closing runs now.
    requests.PostWaiting();
    // The next due note, once nothing is on screen.
    if (requests.CheckDueOnClose(OnScreen()))
        CheckExpired(false);
}

void NoteStore::OnNoteSaved(const wchar_t* path, bool isNew)
{
    if (path == nullptr)
        return;
    // Its text is read again when a find next asks for it, whatever the
    // head: the file was written anew.
    textCache.Forget(path);
    // A head that cannot be read leaves the entry as it was rather than
    // take the note off the list.
    NoteHead head;
    NoteFileStamp stamp;
    if (!ReadNoteHeadWaiting(path, &head, &stamp))
        return;
    NoteEntryLock lock(entries);
    if (!isNew)
        RemoveEntryByPath(path);
    NoteEntry* entry = AddEntry(path, head);
    if (entry != nullptr)
        entry->stamp = stamp;
    headCacheStale = true;
    SortByColumn(kSortReapply);
    RefreshList();
}
