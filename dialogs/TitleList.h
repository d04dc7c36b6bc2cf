// The user's ready-made note titles, most recently used first, kept in the
// registry as "TitlesCount" and "Title0", "Title1", ... under the settings key.
#pragma once

#include <windows.h>

#include <stddef.h>

// The title a note without one is saved under; never kept in the list.
extern const wchar_t kNoTitle[];   // "---no title---"

class TitleList {
public:
    TitleList();            // empty, then Load
    virtual ~TitleList();   // Clear
    TitleList(const TitleList&) = delete;
    TitleList& operator=(const TitleList&) = delete;

    void Clear();
    void Append(const wchar_t* text);
    // Nothing for "" or kNoTitle, nor when the exact text is listed already.
    void AddUnique(const wchar_t* text);
    // Puts text first: an exact match moves, a new text is added first.
    // Nothing for "" or kNoTitle.
    void MoveToFront(const wchar_t* text);
    // Copies the text at index (0 = first) into out (count characters,
    // always terminated); nothing when out is null or index is past the end.
    void GetAt(int index, wchar_t* out, size_t count) const;
    int Count() const { return count; }

    void Load();
    void Save() const;

private:
    struct Node;
    Node* first = nullptr;
    Node* last = nullptr;
    int count = 0;
};
