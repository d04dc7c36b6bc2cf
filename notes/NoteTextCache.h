// The typed text of the notes, for the all-notes window's find: the list
// itself reads only heads, and a note's text lies after its recordings and
// strokes. Each text is read once (ReadNoteTypedText, which steps over the
// recordings), kept folded for matching, and known by its path and its
// file's last write time and size: a card keeps times to 2 s and a restore
// keeps them, so a file replaced can show the time of the one it replaced. The program's own saves and deletes drop a note's
// text (Forget), so it is read again when next asked for; Revalidate
// drops those the folder's listing shows written since or gone, for
// changes made by anyone else.
#pragma once

#include "notes/NoteFile.h"

#include <windows.h>

#include <string>
#include <unordered_map>

struct NoteEntry;

struct NoteText {
    NoteFileStamp stamp;
    std::wstring text;     // as the ink control shows it
    std::wstring folded;   // FoldForFind(text)
    std::wstring title;          // the title last asked with (Get with an entry)
    std::wstring foldedTitle;    // FoldForFind(title)
};

class NoteTextCache {
public:
    using Text = NoteText;

    NoteTextCache();
    NoteTextCache(const NoteTextCache&) = delete;
    NoteTextCache& operator=(const NoteTextCache&) = delete;

    // The folder whose listing Revalidate reads: "<folder>\*<extension>".
    void SetFolder(const wchar_t* folder, const wchar_t* extension);

    // The note's text, read now if it is not kept. A file that cannot be
    // opened gives an empty text and is not kept: it is tried again next
    // time, and meanwhile the note is found by its title.
    const Text& Get(const std::wstring& path);
    // The same for a listed note, with its title folded beside the text:
    // each key typed into the find box matches every note, and folding
    // 10,000 titles again at each cost milliseconds of the frame. A title is
    // folded again only when it is not the one folded last. The entry keeps
    // where its text is until this cache next lets any text go, since
    // looking 10,000 paths up took twice as long as matching their texts.
    const Text& Get(const NoteEntry& entry);
    void Forget(const std::wstring& path);
    void Revalidate();
    void Clear();

    size_t Count() const { return texts.size(); }
    bool Holds(const std::wstring& path) const { return texts.count(path) != 0; }

private:
    Text& Kept(const std::wstring& path);

    // A text let go ends what every entry keeps: a generation no other
    // cache has had.
    void Dropped();

    std::unordered_map<std::wstring, Text> texts;
    uint64_t generation;
    Text unreadable;
    std::wstring folder;
    std::wstring extension;
};
