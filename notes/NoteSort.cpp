#include "notes/NoteSort.h"

#include "notes/ExpiryRules.h"
#include "notes/NoteEntryList.h"

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
        int order = wcscmp(k.entry->title.c_str(), m.entry->title.c_str());
        return descending ? order < 0 : order > 0;
    }
    if (column != kSortByTime)
        return false;
    if (!descending)
        return k.never || (!m.never && k.expiry > m.expiry);
    return m.never || (!k.never && k.expiry < m.expiry);
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
    std::vector<SortItem> items;
    for (NoteEntry* e = entries.First(); e != nullptr; e = e->next)
        items.push_back({e, TimeKey(e->expiry), NeverExpires(e->expiry)});
    TakeRequest(request, order);

    // Rows of equal keys keep the order this exchange sort gives them, as
    // they always have: a list sorted again does not reshuffle its ties.
    bool descending = order->descending == 1;
    for (size_t k = 0; k + 1 < items.size(); ++k) {
        for (size_t m = k + 1; m < items.size(); ++m) {
            if (ShouldExchange(items[k], items[m], order->column, descending))
                std::swap(items[k], items[m]);
        }
    }
    std::vector<NoteEntry*> sorted;
    sorted.reserve(items.size());
    for (const SortItem& item : items)
        sorted.push_back(item.entry);
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
