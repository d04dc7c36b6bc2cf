#include "notes/NoteTextCache.h"

#include "notes/FindFolding.h"
#include "notes/NoteFile.h"

#include <unordered_set>

void NoteTextCache::SetFolder(const wchar_t* notesFolder, const wchar_t* noteExtension)
{
    folder = notesFolder != nullptr ? notesFolder : L"";
    extension = noteExtension != nullptr ? noteExtension : L"";
}

const NoteTextCache::Text& NoteTextCache::Get(const std::wstring& path)
{
    return Kept(path);
}

const NoteTextCache::Text& NoteTextCache::Get(const std::wstring& path, const std::wstring& title)
{
    Text& text = Kept(path);
    if (text.foldedTitle.empty() || text.title != title) {
        text.title = title;
        text.foldedTitle = FoldForFind(title);
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
    texts.erase(path);
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
        if (kept->second.stamp != StampOf(found))
            texts.erase(kept);
        else
            listed.insert(path);
    });
    for (auto kept = texts.begin(); kept != texts.end();) {
        if (listed.count(kept->first) == 0)
            kept = texts.erase(kept);
        else
            ++kept;
    }
}
