#include "notes/NoteEntryList.h"

#include <new>

NoteEntryList::NoteEntryList()
{
    InitializeCriticalSection(&lock);
}

NoteEntryList::~NoteEntryList()
{
    Clear();
    DeleteCriticalSection(&lock);
}

NoteEntry* NoteEntryList::Append(const wchar_t* path, const NoteHead& head)
{
    NoteEntryLock hold(*this);
    NoteEntry* entry = new (std::nothrow) NoteEntry();
    if (entry == nullptr)
        return nullptr;
    entry->path = path;
    entry->title = head.title;
    entry->expired = head.expired;
    entry->expiry = head.expiry;
    entry->whole = head.whole;
    entry->settled = false;
    entry->next = nullptr;
    if (last != nullptr)
        last->next = entry;
    else
        first = entry;
    last = entry;
    return entry;
}

NoteEntry* NoteEntryList::Remove(NoteEntry* entry)
{
    NoteEntryLock hold(*this);
    NoteEntry* previous = nullptr;
    for (NoteEntry* e = first; e != nullptr; previous = e, e = e->next) {
        if (e != entry)
            continue;
        NoteEntry* following = e->next;
        if (previous != nullptr)
            previous->next = following;
        else
            first = following;
        if (last == e)
            last = previous;
        delete e;
        return following;
    }
    return first;
}

int NoteEntryList::RemoveByPath(const wchar_t* path)
{
    if (path == nullptr)
        return -1;
    NoteEntryLock hold(*this);
    int position = 0;
    for (NoteEntry* e = first; e != nullptr; e = e->next, ++position) {
        if (e->path == path) {
            Remove(e);
            return position;
        }
    }
    return -1;
}

void NoteEntryList::Clear()
{
    NoteEntryLock hold(*this);
    NoteEntry* e = first;
    while (e != nullptr) {
        NoteEntry* next = e->next;
        delete e;
        e = next;
    }
    first = nullptr;
    last = nullptr;
}

int NoteEntryList::Count()
{
    NoteEntryLock hold(*this);
    int count = 0;
    for (NoteEntry* e = first; e != nullptr; e = e->next)
        ++count;
    return count;
}

NoteEntry* NoteEntryList::At(int position)
{
    if (position < 0)
        return nullptr;
    NoteEntryLock hold(*this);
    NoteEntry* e = first;
    for (int i = 0; e != nullptr && i < position; ++i)
        e = e->next;
    return e;
}

NoteEntry* NoteEntryList::Find(const wchar_t* path)
{
    if (path == nullptr)
        return nullptr;
    NoteEntryLock hold(*this);
    for (NoteEntry* e = first; e != nullptr; e = e->next) {
        if (e->path == path)
            return e;
    }
    return nullptr;
}

void NoteEntryList::Relink(const std::vector<NoteEntry*>& order)
{
    if (order.empty())
        return;
    NoteEntryLock hold(*this);
    for (size_t i = 0; i + 1 < order.size(); ++i)
        order[i]->next = order[i + 1];
    order.back()->next = nullptr;
    first = order.front();
    last = order.back();
}
