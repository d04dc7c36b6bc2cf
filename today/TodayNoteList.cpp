#include "today/TodayNoteList.h"

#include "platform/common/Text.h"
#include "shared/NoteHead.h"
#include "today/TodayConstants.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {

const DWORD kBusyStepMs = 25;

// A note the program holds open while it saves it fails with one of these
// for a moment (Wine reports some sharing conflicts as access denied);
// anything else means the file is not a note to list.
bool IsBusy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool Stopped(HANDLE stop)
{
    return stop != nullptr && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

bool ReadHeadWaiting(const wchar_t* path, NoteHead* head, DWORD busyWaitMs, HANDLE stop)
{
    for (DWORD waited = 0;; waited += kBusyStepMs) {
        // An error left from an earlier call would make a short file look
        // busy.
        SetLastError(ERROR_SUCCESS);
        if (ReadNoteHead(path, head))
            return true;
        if (!IsBusy(GetLastError()) || waited >= busyWaitMs)
            return false;
        if (stop != nullptr) {
            if (WaitForSingleObject(stop, kBusyStepMs) == WAIT_OBJECT_0)
                return false;
        } else {
            Sleep(kBusyStepMs);
        }
    }
}

// A dated note's expiry as a file time. False for an undated note and for
// a date that is none (month 13, day 0): such a note never comes due, and
// the scheduler refuses its time.
bool ExpiryFileTime(const SYSTEMTIME& expiry, FILETIME& out)
{
    return !NeverExpiresToday(expiry) && SystemTimeToFileTime(&expiry, &out);
}

int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    FILETIME fa = {}, fb = {};
    SystemTimeToFileTime(&a, &fa);
    SystemTimeToFileTime(&b, &fb);
    return CompareFileTime(&fa, &fb);
}

}  // namespace

bool NeverExpiresToday(const SYSTEMTIME& expiry)
{
    return expiry.wHour == kNoExpiryHour;
}

TodayNoteList::TodayNoteList()
{
    InitializeCriticalSection(&lock_);
}

TodayNoteList::~TodayNoteList()
{
    DeleteCriticalSection(&lock_);
}

bool TodayNoteList::IsShown(const SYSTEMTIME& expiry, BYTE expired, const TodayFilter& filter)
{
    if (expired != 0 && !filter.showExpired)
        return false;
    // The date is compared whatever the hour: an undated note carries the
    // date it was made.
    if (filter.onlyToday && (expiry.wYear != filter.today.wYear || expiry.wMonth != filter.today.wMonth ||
                             expiry.wDay != filter.today.wDay))
        return false;
    return true;
}

void TodayNoteList::Sort(std::vector<TodayEntry>& entries)
{
    std::vector<TodayEntry> dated, undated;
    for (TodayEntry& entry : entries)
        (NeverExpiresToday(entry.expiry) ? undated : dated).push_back(std::move(entry));
    std::reverse(undated.begin(), undated.end());
    std::stable_sort(dated.begin(), dated.end(), [](const TodayEntry& a, const TodayEntry& b) {
        return CompareTimes(a.expiry, b.expiry) < 0;
    });
    std::stable_sort(undated.begin(), undated.end(), [](const TodayEntry& a, const TodayEntry& b) {
        return CompareFileTime(&a.sortTime, &b.sortTime) < 0;
    });
    entries.clear();
    for (TodayEntry& entry : dated)
        entries.push_back(std::move(entry));
    for (TodayEntry& entry : undated)
        entries.push_back(std::move(entry));
}

bool TodayNoteList::Load(const wchar_t* folder, const TodayFilter& filter, HANDLE stop)
{
    // The heads listed now are what this load starts from: every open of a
    // note is a round trip to the file system's server, and the item loads
    // again at each change of the notes folder.
    std::vector<TodayEntry> previous;
    Lock();
    previous = entries_;
    Unlock();
    std::unordered_map<std::wstring_view, size_t> known;
    known.reserve(previous.size());
    for (size_t i = 0; i < previous.size(); ++i) {
        if (previous[i].settled)
            known.emplace(previous[i].path, i);
    }
    FILETIME readAt;
    GetSystemTimeAsFileTime(&readAt);
    int read = 0;
    std::vector<TodayEntry> loaded;
    loaded.reserve(previous.size());
    wchar_t pattern[MAX_PATH];
    if (FormatText(pattern, MAX_PATH, L"%s\\*%s", folder, kNoteExtension) >= 0) {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(pattern, &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    continue;
                wchar_t path[MAX_PATH];
                if (FormatText(path, MAX_PATH, L"%s\\%s", folder, found.cFileName) < 0)
                    continue;
                NoteFileStamp stamp = StampOf(found);
                auto kept = known.find(path);
                if (kept != known.end() && previous[kept->second].stamp == stamp) {
                    size_t index = kept->second;
                    known.erase(kept);   // its key views the path moved below
                    TodayEntry entry = std::move(previous[index]);
                    entry.sortTime = found.ftCreationTime;
                    entry.shown = IsShown(entry.expiry, entry.expired, filter);
                    loaded.push_back(std::move(entry));
                    continue;
                }
                NoteHead head;
                ++read;
                // Kept with the listing's stamp: a file written since the
                // listing is read again at the next load.
                if (!ReadHeadWaiting(path, &head, busyWaitMs, stop)) {
                    if (Stopped(stop)) {
                        FindClose(find);
                        return false;
                    }
                    continue;
                }
                TodayEntry entry;
                entry.title = head.title;
                entry.expiry = head.expiry;
                // The search already carries the creation time: no second
                // open of each undated note.
                entry.sortTime = found.ftCreationTime;
                entry.path = path;
                entry.expired = head.expired;
                entry.whole = head.whole;
                entry.shown = IsShown(head.expiry, head.expired, filter);
                entry.stamp = stamp;
                entry.settled = StampSettled(stamp, readAt);
                loaded.push_back(std::move(entry));
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
    }
    Sort(loaded);
    int shown = 0;
    for (const TodayEntry& entry : loaded)
        shown += entry.shown ? 1 : 0;
    Lock();
    entries_.swap(loaded);
    shownCount_ = shown;
    headsRead = read;
    Unlock();
    return true;
}

void TodayNoteList::Clear()
{
    Lock();
    entries_.clear();
    shownCount_ = 0;
    Unlock();
}

const TodayEntry* TodayNoteList::ShownAt(int index) const
{
    if (index < 0)
        return nullptr;
    for (const TodayEntry& entry : entries_) {
        if (!entry.shown)
            continue;
        if (index-- == 0)
            return &entry;
    }
    return nullptr;
}

const TodayEntry* TodayNoteList::Pending() const
{
    for (const TodayEntry& entry : entries_) {
        // A note cut short never comes up as an alarm, and is never flagged
        // expired: waited for, it would hold back every later note's run.
        if (entry.expired != 0 || !entry.whole)
            continue;
        // An impossible date sorts first; passed on, it would leave the
        // real next note without a run. An undated note still ends the
        // search: the notes after it are undated too.
        FILETIME expiry;
        if (NeverExpiresToday(entry.expiry) || ExpiryFileTime(entry.expiry, expiry))
            return &entry;
    }
    return nullptr;
}

DWORD TodayNoteList::MsToPending(const FILETIME& now) const
{
    const TodayEntry* pending = Pending();
    FILETIME at;
    if (pending == nullptr || !ExpiryFileTime(pending->expiry, at) || CompareFileTime(&at, &now) != 1)
        return INFINITE;
    ULONGLONG ahead = ((static_cast<ULONGLONG>(at.dwHighDateTime) << 32 | at.dwLowDateTime) -
                       (static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime) + 9999) / 10000;
    return ahead < INFINITE ? static_cast<DWORD>(ahead) : INFINITE - 1;
}

const TodayEntry* TodayNoteList::Due(const FILETIME& now) const
{
    for (const TodayEntry& entry : entries_) {
        FILETIME expiry;
        if (entry.expired == 0 && entry.whole && ExpiryFileTime(entry.expiry, expiry) &&
            CompareFileTime(&expiry, &now) != 1)
            return &entry;
    }
    return nullptr;
}
