#include "notes/NoteStore.h"

#include "app/Application.h"
#include "app/MainMessages.h"
#include "app/Settings.h"
#include "app/UserPrompt.h"
#include "dialogs/OptionSettings.h"
#include "notes/ExpiryRules.h"
#include "notes/FileNoteWindow.h"
#include "notes/NoteFile.h"
#include "platform/common/Text.h"

#include <aygshell.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <stdlib.h>
#include <string.h>
#include <wchar.h>


namespace {

const wchar_t kNotDeletedText[] =
    L"Some of the selected jotlings could not be deleted. They are still in the list; try again later.";

wchar_t* CopyOf(const wchar_t* text)
{
    size_t length = wcslen(text);
    wchar_t* copy = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
    if (copy != nullptr)
        memcpy(copy, text, (length + 1) * sizeof(wchar_t));
    return copy;
}

// The file's creation time, read from its directory entry: this works
// while another process holds the file open, which an open would not.
SYSTEMTIME CreationTime(const wchar_t* path)
{
    SYSTEMTIME created = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        FileTimeToSystemTime(&data.ftCreationTime, &created);
    return created;
}

// A time as one number that orders as CompareTimes does: a time that is no
// valid date counts as the earliest of all.
ULONGLONG TimeKey(const SYSTEMTIME& time)
{
    FILETIME file = {};
    SystemTimeToFileTime(&time, &file);
    return (ULONGLONG(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

// An entry with what the sort compares, worked out once per sort rather
// than at each of its many comparisons.
struct SortItem {
    NoteEntry* entry;
    ULONGLONG expiry;
    bool never;
};

bool ShouldExchange(const SortItem& k, const SortItem& m, int column, bool descending)
{
    if (column == kSortByTitle) {
        int order = wcscmp(k.entry->title, m.entry->title);
        return descending ? order < 0 : order > 0;
    }
    if (column != kSortByTime)
        return false;
    if (!descending)
        return k.never || (!m.never && k.expiry > m.expiry);
    return m.never || (!k.never && k.expiry < m.expiry);
}

}  // namespace

NoteStore::NoteStore(const wchar_t* folder, const wchar_t* extension)
{
    CopyText(notesFolder, MAX_PATH, folder);
    CopyText(noteExtension, 8, extension);
    LoadFolder();
}

NoteStore::~NoteStore()
{
    // The program is ending: the note window goes without being stored.
    delete currentNoteWindow;
    currentNoteWindow = nullptr;
    ClearEntries();
}

void NoteStore::LoadFolder()
{
    wchar_t pattern[MAX_PATH];
    if (FormatText(pattern, MAX_PATH, L"%s\\*%s", notesFolder, noteExtension) < 0)
        return;
    ClearEntries();
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        wchar_t path[MAX_PATH];
        // A name too long for a path is left out rather than cut to
        // another note's name.
        if (FormatText(path, MAX_PATH, L"%s\\%s", notesFolder, found.cFileName) < 0)
            continue;
        // The listing carries each file's creation time, which the sort by
        // time needs: taken here, no file is asked for it again.
        NoteEntry* entry = LoadEntry(path);
        if (entry != nullptr)
            FileTimeToSystemTime(&found.ftCreationTime, &entry->created);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

NoteEntry* NoteStore::LoadEntry(const wchar_t* path)
{
    NoteHead head;
    if (path == nullptr || !ReadNoteHeadWaiting(path, &head))
        return nullptr;
    return AddEntry(path, head);
}

NoteEntry* NoteStore::AddEntry(const wchar_t* path, const NoteHead& head)
{
    NoteListLock lock(this);
    NoteEntry* entry = static_cast<NoteEntry*>(calloc(1, sizeof(NoteEntry)));
    if (entry == nullptr)
        return nullptr;
    entry->path = CopyOf(path);
    entry->title = CopyOf(head.title);
    if (entry->path == nullptr || entry->title == nullptr) {
        FreeEntry(entry);
        return nullptr;
    }
    entry->expired = head.expired;
    entry->expiry = head.expiry;
    entry->next = nullptr;
    if (lastEntry != nullptr)
        lastEntry->next = entry;
    else
        firstEntry = entry;
    lastEntry = entry;
    return entry;
}

NoteEntry* NoteStore::RemoveEntry(NoteEntry* entry)
{
    NoteListLock lock(this);
    NoteEntry* previous = nullptr;
    for (NoteEntry* e = firstEntry; e != nullptr; previous = e, e = e->next) {
        if (e != entry)
            continue;
        NoteEntry* following = e->next;
        if (previous != nullptr)
            previous->next = following;
        else
            firstEntry = following;
        if (lastEntry == e)
            lastEntry = previous;
        FreeEntry(e);
        return following;
    }
    return firstEntry;
}

int NoteStore::RemoveEntryByPath(const wchar_t* path)
{
    if (path == nullptr)
        return -1;
    NoteListLock lock(this);
    int position = 0;
    for (NoteEntry* e = firstEntry; e != nullptr; e = e->next, ++position) {
        if (wcscmp(e->path, path) == 0) {
            RemoveEntry(e);
            return position;
        }
    }
    return -1;
}

void NoteStore::ClearEntries()
{
    NoteListLock lock(this);
    NoteEntry* e = firstEntry;
    while (e != nullptr) {
        NoteEntry* next = e->next;
        FreeEntry(e);
        e = next;
    }
    firstEntry = nullptr;
    lastEntry = nullptr;
}

void NoteStore::FreeEntry(NoteEntry* entry)
{
    free(entry->title);
    free(entry->path);
    free(entry);
}

int NoteStore::EntryCount()
{
    NoteListLock lock(this);
    int count = 0;
    for (NoteEntry* e = firstEntry; e != nullptr; e = e->next)
        ++count;
    return count;
}

NoteEntry* NoteStore::EntryAt(int position)
{
    NoteListLock lock(this);
    NoteEntry* e = firstEntry;
    for (int i = 0; e != nullptr && i < position; ++i)
        e = e->next;
    return position >= 0 ? e : nullptr;
}

NoteEntry* NoteStore::FindEntry(const wchar_t* path)
{
    if (path == nullptr)
        return nullptr;
    NoteListLock lock(this);
    for (NoteEntry* e = firstEntry; e != nullptr; e = e->next) {
        if (wcscmp(e->path, path) == 0)
            return e;
    }
    return nullptr;
}

void NoteStore::SortByColumn(int request)
{
    NoteListLock lock(this);
    int count = EntryCount();
    if (count == 0)
        return;
    std::vector<SortItem> items;
    items.reserve(count);
    for (NoteEntry* e = firstEntry; e != nullptr; e = e->next)
        items.push_back({e, TimeKey(e->expiry), NeverExpires(e->expiry)});

    if (request == kSortReapply) {
        if (sortColumn == -1) {
            sortColumn = kSortByTime;
            sortDescending = 0;
        }
    } else if (request == kSortDefault) {
        sortColumn = kSortByTime;
        sortDescending = 0;
    } else if (request != sortColumn) {
        sortColumn = request;
        sortDescending = 0;
    } else {
        sortDescending = 1 - sortDescending;
    }

    // Rows of equal keys keep the order this exchange sort gives them, as
    // they always have: a list sorted again does not reshuffle its ties.
    bool descending = sortDescending == 1;
    for (int k = 0; k + 1 < count; ++k) {
        for (int m = k + 1; m < count; ++m) {
            if (ShouldExchange(items[k], items[m], sortColumn, descending))
                std::swap(items[k], items[m]);
        }
    }
    std::vector<NoteEntry*> entries(count);
    for (int i = 0; i < count; ++i)
        entries[i] = items[i].entry;

    if (sortColumn == kSortByTime) {
        // Entries keep the creation time they were loaded with (a save
        // keeps it too); only one not known yet is read from its file.
        for (NoteEntry* e : entries) {
            if (e->created.wYear == 0)
                e->created = CreationTime(e->path);
        }
        OrderNeverExpiringByCreation(entries.data(), count, descending);
    }

    for (int i = 0; i + 1 < count; ++i)
        entries[i]->next = entries[i + 1];
    entries[count - 1]->next = nullptr;
    firstEntry = entries[0];
    lastEntry = entries[count - 1];
}

// By time, the notes that never expire form one block: at the end, newest
// file first, when ascending; at the front, oldest first, when descending.
// Notes created at the same moment keep their order.
void NoteStore::OrderNeverExpiringByCreation(NoteEntry** entries, int count, bool descending)
{
    int first, last;
    if (!descending) {
        last = count - 1;
        first = count;
        while (first > 0 && NeverExpires(entries[first - 1]->expiry))
            --first;
    } else {
        first = 0;
        last = -1;
        while (last + 1 < count && NeverExpires(entries[last + 1]->expiry))
            ++last;
    }
    int size = last - first + 1;
    if (size < 2)
        return;
    std::vector<std::pair<ULONGLONG, NoteEntry*>> block;
    block.reserve(size);
    for (int i = first; i <= last; ++i)
        block.push_back({TimeKey(entries[i]->created), entries[i]});
    std::stable_sort(block.begin(), block.end(), [descending](const auto& a, const auto& b) {
        return descending ? a.first < b.first : a.first > b.first;
    });
    for (int i = 0; i < size; ++i)
        entries[first + i] = block[i].second;
}

// Counts a request under way; the last one to end lets the waiting ones run.
class NoteStore::RequestScope {
public:
    explicit RequestScope(NoteStore* store) : store(store) { ++store->requestDepth; }
    ~RequestScope()
    {
        if (--store->requestDepth == 0)
            store->PostDeferred();
    }
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;

private:
    NoteStore* store;
};

bool NoteStore::MustWait() const
{
    return requestDepth > 0 || PromptShowing();
}

void NoteStore::Defer(Request kind, bool flag, const wchar_t* path)
{
    // A check waiting already is done once, forced if either asked for it;
    // a later open or new note replaces one that waits, since only one note
    // can be on screen.
    for (DeferredRequest& waiting : deferred) {
        if (kind == Request::Check && waiting.kind == Request::Check) {
            waiting.flag = waiting.flag || flag;
            return;
        }
        if (kind != Request::Check && waiting.kind != Request::Check) {
            waiting = {kind, flag, path != nullptr ? path : L""};
            return;
        }
    }
    deferred.push_back({kind, flag, path != nullptr ? path : L""});
}

void NoteStore::PostDeferred()
{
    if (!deferred.empty() && mainWindow != nullptr)
        PostMessageW(mainWindow, kMsgRunDeferred, 0, 0);
}

void NoteStore::RunDeferredRequest()
{
    // Still waiting: whatever holds it up posts this again when it ends.
    if (deferred.empty() || MustWait())
        return;
    DeferredRequest next = deferred.front();
    deferred.erase(deferred.begin());
    switch (next.kind) {
    case Request::Check:
        CheckExpired(next.flag);
        break;
    case Request::Open:
        OpenNoteByPath(next.path.c_str());
        break;
    case Request::New:
        NewNote(next.flag);
        break;
    }
    PostDeferred();
}

bool NoteStore::AlarmOnScreen() const
{
    return currentNoteWindow != nullptr && currentNoteWindow->Window() != nullptr &&
           currentNoteWindow->Mode() == OpenMode::Alarm;
}

bool NoteStore::AttachMainWindow(HWND window)
{
    mainWindow = window;
    SetPromptAnsweredNotice(window, kMsgRunDeferred);
    // Notes whose alarm was on screen when the program died come back first.
    if (FileNoteWindow::RestoreNotesLeftAside(notesFolder, noteExtension) > 0)
        LoadFolder();
    if (g_application->Notify() || IsTodayItemEnabled())
        return CheckExpired(false);
    return false;
}

bool NoteStore::CheckExpired(bool force)
{
    if (MustWait()) {
        Defer(Request::Check, force);
        return false;
    }
    // One alarm at a time: the next comes when the user closes this one.
    if (AlarmOnScreen()) {
        checkAfterAlarm = true;
        return false;
    }
    RequestScope scope(this);
    checkAfterAlarm = false;
    bool opened = OpenDueNote(force);
    if (opened)
        RefreshList();
    return opened;
}

// Opens the earliest due note; a note whose file turns out damaged is passed
// over for the next. With force and none due, the earliest of all.
bool NoteStore::OpenDueNote(bool force)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The paths first: opening an alarm closes the note before, whose save
    // changes the list under the walk.
    std::vector<std::pair<ULONGLONG, std::wstring>> due;
    std::wstring candidate;
    {
        NoteListLock lock(this);
        const NoteEntry* earliest = nullptr;
        bool damagedDue = false;
        for (NoteEntry* e = firstEntry; e != nullptr; e = e->next) {
            // Never due, and never the one a forced check falls back on: a
            // note that never expires, and one whose date is no date.
            if (!IsAlarmTime(e->expiry))
                continue;
            bool isDue = e->expired == 0 && CompareTimes(e->expiry, now) != 1;
            // A note whose alarm found its file damaged in this run is left
            // alone; being due, it still keeps the forced check from
            // falling back on some other note.
            if (FileNoteWindow::FoundUnreadable(e->path))
                damagedDue = damagedDue || isDue;
            else if (isDue)
                due.push_back({TimeKey(e->expiry), e->path});
            else if (earliest == nullptr || CompareTimes(e->expiry, earliest->expiry) != 1)
                earliest = e;
        }
        if (due.empty() && !damagedDue && force && earliest != nullptr)
            candidate = earliest->path;
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (due.empty() && !candidate.empty())
        due.push_back({0, candidate});
    for (size_t i = 0; i < due.size(); ++i) {
        if (OpenCurrent(due[i].second.c_str(), OpenMode::Alarm) != nullptr) {
            checkAfterAlarm = i + 1 < due.size();
            return true;
        }
        if (!FileNoteWindow::FoundUnreadable(due[i].second.c_str()))
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
        Defer(Request::New, fromRecordButton);
        return nullptr;
    }
    RequestScope scope(this);
    return OpenCurrent(nullptr, OpenMode::New | (fromRecordButton ? OpenMode::StartRecording : 0));
}

void NoteStore::OpenNote(int position)
{
    if (position < 0 || MustWait())
        return;
    wchar_t path[MAX_PATH];
    {
        NoteListLock lock(this);
        NoteEntry* entry = EntryAt(position);
        if (entry == nullptr)
            return;
        CopyText(path, MAX_PATH, entry->path);
    }
    RequestScope scope(this);
    OpenCurrent(path, OpenMode::Open);
}

void NoteStore::OpenNoteByPath(const wchar_t* path)
{
    if (path == nullptr)
        return;
    if (MustWait()) {
        Defer(Request::Open, false, path);
        return;
    }
    if (FindEntry(path) == nullptr)
        return;
    RequestScope scope(this);
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
    NoteListLock lock(this);
    for (int row : rows) {
        NoteEntry* entry = EntryAt(row);
        if (entry != nullptr)
            paths.push_back(entry->path);
    }
    return paths;
}

void NoteStore::DeleteSelected()
{
    if (MustWait())
        return;
    RequestScope scope(this);
    std::vector<std::wstring> paths = SelectedPaths();
    if (paths.empty())
        return;
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
        if (DeleteNoteFile(path.c_str()))
            RemoveEntryByPath(path.c_str());
        else
            allGone = false;
    }
    RefreshList();
    g_application->SignalChange();
    if (!allGone)
        AskUser(owner, kNotDeletedText, L"Jotlings", MB_OK | MB_ICONWARNING);
}

void NoteStore::SetSelectedExpired()
{
    if (MustWait())
        return;
    RequestScope scope(this);
    std::vector<std::wstring> paths = SelectedPaths();
    if (paths.empty())
        return;
    FileNoteWindow marker;
    for (const std::wstring& path : paths) {
        NoteEntry* entry = FindEntry(path.c_str());
        if (entry == nullptr || NeverExpires(entry->expiry))
            continue;
        marker.Open(ListWindowHandle(), path.c_str(), OpenMode::MarkExpired, mainWindow);
        entry = FindEntry(path.c_str());
        if (entry != nullptr)
            entry->expired = 1;
    }
    RefreshList();
}

void NoteStore::PreviewNote(int position)
{
    if (position < 0)
        return;
    NoteListLock lock(this);
    NoteEntry* entry = EntryAt(position);
    if (entry == nullptr)
        return;
    NoteRecord* record = new NoteRecord();
    FileNoteWindow reader;
    reader.Open(nullptr, entry->path, OpenMode::LoadRecord, nullptr, record);
    SetPreview(nullptr, nullptr);
    SetPreview(record, entry->path);
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
    // The next due note, once nothing is on screen (an alarm closed by
    // opening another note waits for that one too).
    if (checkAfterAlarm && (currentNoteWindow == nullptr || currentNoteWindow->Window() == nullptr))
        CheckExpired(false);
}

void NoteStore::OnNoteSaved(const wchar_t* path, bool isNew)
{
    if (path == nullptr)
        return;
    // Read first: a head that cannot be read leaves the entry as it was
    // rather than take the note off the list.
    NoteHead head;
    if (!ReadNoteHeadWaiting(path, &head))
        return;
    NoteListLock lock(this);
    if (!isNew)
        RemoveEntryByPath(path);
    AddEntry(path, head);
    SortByColumn(kSortReapply);
    RefreshList();
}
