// Text as the all-notes window's find compares it, the way a person reads
// it: letters in lower case, accents and other marks dropped, compatibility
// forms spelled out (a ligature as its letters, a full-width letter as the
// letter) and the letters of formats/FindLetters.h as they are read ("ß"
// as "ss"). The system's own comparison that ignores case and marks
// (CompareStringW with NORM_IGNORECASE | NORM_IGNORENONSPACE) takes the
// same letters for equal, but finding a word inside a text with it means
// a comparison at every position (Wine's FindNLSString takes over 100 ms
// for one note's text); folding once and searching the folded text is a
// plain substring search.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// text folded; origins, when given, gets for each unit of the result the
// index in text of the unit it came from.
std::wstring FoldForFind(const wchar_t* text, size_t length, std::vector<uint32_t>* origins = nullptr);
inline std::wstring FoldForFind(const std::wstring& text, std::vector<uint32_t>* origins = nullptr)
{
    return FoldForFind(text.c_str(), text.size(), origins);
}
