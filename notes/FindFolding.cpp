#include "notes/FindFolding.h"

#include "formats/FindLetters.h"

#include <windows.h>

#include <unordered_map>

namespace {

wchar_t LowerCase(wchar_t unit)
{
    wchar_t lower = unit;
    // The invariant locale's mapping: a Turkish device lower-cases "I" to a
    // dotless i, and its notes would not find "i".
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, &unit, 1, &lower, 1, nullptr, nullptr, 0) != 1)
        return unit;
    return lower;
}

void AppendLetter(std::wstring& out, wchar_t lower)
{
    const char* spelling = formats::FindLetterSpelling(char16_t(lower));
    if (spelling == nullptr) {
        out += lower;
        return;
    }
    for (; *spelling != '\0'; ++spelling)
        out += wchar_t(*spelling);
}

std::wstring FoldWithTheSystem(wchar_t unit)
{
    std::wstring out;
    wchar_t lower = LowerCase(unit);
    if (formats::FindLetterSpelling(char16_t(lower)) != nullptr) {
        AppendLetter(out, lower);
        return out;
    }
    wchar_t decomposed[18];
    int count = NormalizeString(NormalizationKD, &lower, 1, decomposed, 18);
    if (count <= 0) {
        decomposed[0] = lower;
        count = 1;
    }
    for (int i = 0; i < count; ++i) {
        WORD type = 0;
        if (GetStringTypeW(CT_CTYPE3, &decomposed[i], 1, &type) && (type & C3_NONSPACING) != 0)
            continue;
        AppendLetter(out, LowerCase(decomposed[i]));
    }
    return out;
}

// A text repeats its letters, and each costs three calls to the system
// the first time. Find runs on the window's thread only.
const std::wstring& FoldUnit(wchar_t unit)
{
    thread_local std::unordered_map<wchar_t, std::wstring> folded;
    auto known = folded.find(unit);
    if (known != folded.end())
        return known->second;
    return folded.emplace(unit, FoldWithTheSystem(unit)).first->second;
}

bool IsSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

std::wstring FoldForFind(const wchar_t* text, size_t length, std::vector<uint32_t>* origins)
{
    std::wstring out;
    out.reserve(length);
    if (origins != nullptr) {
        origins->clear();
        origins->reserve(length);
    }
    for (size_t i = 0; i < length; ++i) {
        wchar_t unit = text[i];
        size_t before = out.size();
        if (unit < 0x80)
            out += unit >= L'A' && unit <= L'Z' ? wchar_t(unit - L'A' + L'a') : unit;
        else if (IsSurrogate(unit))
            out += unit;   // outside the basic plane: compared as written
        else
            out += FoldUnit(unit);
        if (origins != nullptr)
            origins->insert(origins->end(), out.size() - before, uint32_t(i));
    }
    return out;
}
