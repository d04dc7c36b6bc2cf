#include "notes/FindQuery.h"

#include "notes/FindFolding.h"

#include <windows.h>

#include <algorithm>

namespace {

bool IsSpace(wchar_t unit)
{
    WORD type = 0;
    return unit == L' ' || unit == L'\t' || unit == L'\n' || unit == L'\r' ||
           (unit >= 0x80 && GetStringTypeW(CT_CTYPE1, &unit, 1, &type) && (type & C1_SPACE) != 0);
}

}  // namespace

FindQuery::FindQuery(const wchar_t* typed)
{
    if (typed == nullptr)
        return;
    const wchar_t* at = typed;
    while (*at != L'\0') {
        while (*at != L'\0' && IsSpace(*at))
            ++at;
        const wchar_t* start = at;
        while (*at != L'\0' && !IsSpace(*at))
            ++at;
        // A word of marks alone folds to nothing, and nothing is in every note.
        std::wstring word = FoldForFind(start, size_t(at - start));
        if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
    }
}

bool FindQuery::Matches(const std::wstring& foldedTitle, const std::wstring& foldedText) const
{
    for (const std::wstring& word : words) {
        if (foldedTitle.find(word) == std::wstring::npos && foldedText.find(word) == std::wstring::npos)
            return false;
    }
    return true;
}

bool FindQuery::Within(const FindQuery& other) const
{
    for (const std::wstring& wider : other.words) {
        if (std::none_of(words.begin(), words.end(),
                         [&wider](const std::wstring& word) { return word.find(wider) != std::wstring::npos; }))
            return false;
    }
    return true;
}

std::vector<TextSpan> FindQuery::SpansIn(const std::wstring& text) const
{
    std::vector<uint32_t> origins;
    std::wstring folded = FoldForFind(text, &origins);
    std::vector<TextSpan> found;
    for (const std::wstring& word : words) {
        for (size_t at = folded.find(word); at != std::wstring::npos; at = folded.find(word, at + 1)) {
            uint32_t start = origins[at];
            uint32_t end = origins[at + word.size() - 1] + 1;
            found.push_back({start, end - start});
        }
    }
    std::sort(found.begin(), found.end(), [](const TextSpan& a, const TextSpan& b) { return a.start < b.start; });
    std::vector<TextSpan> joined;
    for (const TextSpan& span : found) {
        if (!joined.empty() && span.start <= joined.back().start + joined.back().length) {
            uint32_t end = std::max(joined.back().start + joined.back().length, span.start + span.length);
            joined.back().length = end - joined.back().start;
        } else {
            joined.push_back(span);
        }
    }
    return joined;
}
