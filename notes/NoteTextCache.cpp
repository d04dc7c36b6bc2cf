#include "notes/NoteTextCache.h"

#include "notes/FindFolding.h"
#include "notes/NoteEntry.h"
#include "notes/NoteFile.h"

#include <atomic>
#include <unordered_set>

NoteTextCache::NoteTextCache()
{
    Dropped();
}

void NoteTextCache::SetFolder(const wchar_t* notesFolder, const wchar_t* noteExtension)
{
    folder = notesFolder != nullptr ? notesFolder : L"";
    extension = noteExtension != nullptr ? noteExtension : L"";
}

const NoteTextCache::Text& NoteTextCache::Get(const std::wstring& path)
{
    return Kept(path);
}

const NoteTextCache::Text& NoteTextCache::Get(const NoteEntry& entry)
{
    if (entry.keptText != nullptr && entry.keptTextGeneration == generation)
        return *entry.keptText;
    Text& text = Kept(entry.path);
    if (text.foldedTitle.empty() || text.title != entry.title) {
        text.title = entry.title;
        text.foldedTitle = FoldForFind(entry.title);
    }
    // An entry's title never changes: a note saved again is listed anew.
    if (&text != &unreadable) {
        entry.keptText = &text;
        entry.keptTextGeneration = generation;
    }
    return text;
}

NoteTextCache::Text& NoteTextCache::Kept(const std::wstring& path)
{
    auto kept = texts.find(path);
    if (kept != texts.end())
        return kept->second;
    Text read;
    if (!ReadNoteTypedText(path.c_str(), &read.text, &read.stamp))
        return unreadable;
    read.folded = FoldForFind(read.text);
    return texts.emplace(path, std::move(read)).first->second;
}

void NoteTextCache::Forget(const std::wstring& path)
{
    if (texts.erase(path) != 0)
        Dropped();
}

void NoteTextCache::Clear()
{
    texts.clear();
    Dropped();
}

void NoteTextCache::Dropped()
{
    static std::atomic<uint64_t> generations{0};
    generation = ++generations;
}

void NoteTextCache::Revalidate()
{
    if (texts.empty() || folder.empty())
        return;
    std::unordered_set<std::wstring> listed;
    ForEachFileEndingIn(folder.c_str(), extension.c_str(), [&](const wchar_t* path, const WIN32_FIND_DATAW& found) {
        auto kept = texts.find(path);
        if (kept == texts.end())
            return;
        if (kept->second.stamp != StampOf(found)) {
            texts.erase(kept);
            Dropped();
        } else {
            listed.insert(path);
        }
    });
    for (auto kept = texts.begin(); kept != texts.end();) {
        if (listed.count(kept->first) == 0) {
            kept = texts.erase(kept);
            Dropped();
        } else {
            ++kept;
        }
    }
}
