// What the user typed into the all-notes window's find box: its words,
// folded (notes/FindFolding.h). A note is found when every word stands in
// its title or its typed text, anywhere in them (inside a longer word too).
// The list and the tests match by this one class.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct TextSpan {
    uint32_t start;
    uint32_t length;
};

class FindQuery {
public:
    FindQuery() = default;
    explicit FindQuery(const wchar_t* typed);

    bool Empty() const { return words.empty(); }
    const std::vector<std::wstring>& Words() const { return words; }

    // True when every note this query finds, other finds too: each of
    // other's words stands inside one of this query's. A query with no
    // words finds every note.
    bool Within(const FindQuery& other) const;

    // Both texts folded already: the list folds each note's text once.
    bool Matches(const std::wstring& foldedTitle, const std::wstring& foldedText) const;
    // Where the words stand in text (not folded), in its units: in order,
    // overlapping ones joined. What the preview marks.
    std::vector<TextSpan> SpansIn(const std::wstring& text) const;

private:
    std::vector<std::wstring> words;
};
