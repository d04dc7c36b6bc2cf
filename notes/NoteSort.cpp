#include "notes/NoteSort.h"

#include "notes/ExchangeSort.h"
#include "notes/ExpiryRules.h"
#include "notes/NoteEntryList.h"

#include <stdint.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <wchar.h>

namespace {

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

// The keys and thresholds of the exchange pass (see ExchangeSort.h) that
// give the list's rules. By time, ascending: a never-expiring note goes
// after every other, and two of them are exchanged whenever they meet.
// Descending: a never-expiring note goes before every other, and is
// exchanged with each never-expiring note after it. By title: character
// codes, the titles' ranks as keys.
void SortKeys(const std::vector<NoteEntry*>& entries, int column, bool descending, std::vector<uint64_t>* keys,
              std::vector<uint64_t>* thresholds)
{
    size_t count = entries.size();
    keys->resize(count);
    thresholds->resize(count);
    if (column == kSortByTitle) {
        std::vector<size_t> byTitle(count);
        for (size_t i = 0; i < count; ++i)
            byTitle[i] = i;
        auto title = [&entries](size_t i) { return entries[i]->title.c_str(); };
        std::sort(byTitle.begin(), byTitle.end(), [&](size_t a, size_t b) { return wcscmp(title(a), title(b)) < 0; });
        uint64_t rank = 0;
        for (size_t n = 0; n < count; ++n) {
            if (n > 0 && wcscmp(title(byTitle[n - 1]), title(byTitle[n])) != 0)
                ++rank;
            (*keys)[byTitle[n]] = rank;
        }
        for (size_t i = 0; i < count; ++i) {
            if (descending)
                (*keys)[i] = rank - (*keys)[i];
            (*thresholds)[i] = (*keys)[i];
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        bool never = NeverExpires(entries[i]->expiry);
        uint64_t expiry = std::min<uint64_t>(TimeKey(entries[i]->expiry), UINT64_MAX - 2);
        if (!descending) {
            (*keys)[i] = never ? UINT64_MAX - 1 : expiry;
            (*thresholds)[i] = never ? UINT64_MAX : expiry;
        } else {
            (*keys)[i] = never ? 0 : UINT64_MAX - expiry;
            (*thresholds)[i] = never ? 1 : UINT64_MAX - expiry;
        }
    }
}

void TakeRequest(int request, NoteOrder* order)
{
    if (request == kSortReapply) {
        if (order->column == -1) {
            order->column = kSortByTime;
            order->descending = 0;
        }
    } else if (request == kSortDefault) {
        order->column = kSortByTime;
        order->descending = 0;
    } else if (request != order->column) {
        order->column = request;
        order->descending = 0;
    } else {
        order->descending = 1 - order->descending;
    }
}

void OrderNeverExpiringByCreation(std::vector<NoteEntry*>& entries, bool descending)
{
    int count = int(entries.size());
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

}  // namespace

void SortNotes(NoteEntryList& entries, int request, NoteOrder* order)
{
    NoteEntryLock hold(entries);
    if (entries.First() == nullptr)
        return;
    std::vector<NoteEntry*> listed;
    for (NoteEntry* e = entries.First(); e != nullptr; e = e->next)
        listed.push_back(e);
    TakeRequest(request, order);

    // Rows of equal keys keep the order the exchange pass gives them, as
    // they always have: a list sorted again does not reshuffle its ties.
    bool descending = order->descending == 1;
    std::vector<NoteEntry*> sorted = listed;
    if (order->column == kSortByTime || order->column == kSortByTitle) {
        std::vector<uint64_t> keys, thresholds;
        SortKeys(listed, order->column, descending, &keys, &thresholds);
        std::vector<size_t> placed = ExchangeSortOrder(keys, thresholds);
        for (size_t n = 0; n < placed.size(); ++n)
            sorted[n] = listed[placed[n]];
    }
    if (order->column == kSortByTime) {
        // Entries keep the creation time they were loaded with (a save
        // keeps it too); only one not known yet is read from its file.
        for (NoteEntry* e : sorted) {
            if (e->created.wYear == 0)
                e->created = CreationTime(e->path.c_str());
        }
        OrderNeverExpiringByCreation(sorted, descending);
    }
    entries.Relink(sorted);
}
