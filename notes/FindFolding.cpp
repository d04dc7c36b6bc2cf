#include "notes/FindFolding.h"

#include "formats/FindLetters.h"

#include <windows.h>

#include <unordered_map>

namespace {

bool IsHigh(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLow(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

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

// Greek's final sigma is the same letter as its sigma; the system's
// lower case keeps the two apart.
const wchar_t kFinalSigma = 0x03C2, kSigma = 0x03C3;

// A letter as one or two units (a letter outside the basic plane).
std::wstring FoldWithTheSystem(const wchar_t* letter, int units)
{
    std::wstring out;
    wchar_t lower[4] = {};
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, letter, units, lower, 4, nullptr, nullptr, 0) !=
        units)
        CopyMemory(lower, letter, units * sizeof(wchar_t));
    if (units == 1 && formats::FindLetterSpelling(char16_t(lower[0])) != nullptr) {
        AppendLetter(out, lower[0]);
        return out;
    }
    wchar_t decomposed[18];
    int count = NormalizeString(NormalizationKD, lower, units, decomposed, 18);
    if (count <= 0) {
        CopyMemory(decomposed, lower, units * sizeof(wchar_t));
        count = units;
    }
    for (int i = 0; i < count; ++i) {
        WORD type = 0;
        if (GetStringTypeW(CT_CTYPE3, &decomposed[i], 1, &type) && (type & C3_NONSPACING) != 0)
            continue;
        // A spacing accent (´ ¨ ˜) decomposes to a space and its mark: it is
        // no letter, and a space would find every note with two words.
        if (decomposed[i] == L' ' && letter[0] != L' ')
            continue;
        bool pair = i + 1 < count && IsHigh(decomposed[i]) && IsLow(decomposed[i + 1]);
        if (pair) {
            wchar_t pairLower[2] = {decomposed[i], decomposed[i + 1]};
            LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, decomposed + i, 2, pairLower, 2, nullptr, nullptr, 0);
            out.append(pairLower, 2);
            ++i;
            continue;
        }
        wchar_t small = LowerCase(decomposed[i]);
        AppendLetter(out, small == kFinalSigma ? kSigma : small);
    }
    return out;
}

// A text repeats its letters, and each costs three calls to the system
// the first time. Find runs on the window's thread only.
const std::wstring& FoldLetter(const wchar_t* letter, int units)
{
    thread_local std::unordered_map<uint32_t, std::wstring> folded;
    uint32_t key = units == 2 ? 0x10000u + ((uint32_t(letter[0]) - 0xD800u) << 10) + (uint32_t(letter[1]) - 0xDC00u)
                              : uint32_t(letter[0]);
    auto known = folded.find(key);
    if (known != folded.end())
        return known->second;
    return folded.emplace(key, FoldWithTheSystem(letter, units)).first->second;
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
        else if (IsHigh(unit) && i + 1 < length && IsLow(text[i + 1]))
            out += FoldLetter(text + i, 2);   // outside the basic plane: a pair is one letter
        else
            out += FoldLetter(text + i, 1);
        if (origins != nullptr)
            origins->insert(origins->end(), out.size() - before, uint32_t(i));
        if (IsHigh(unit) && i + 1 < length && IsLow(text[i + 1]))
            ++i;
    }
    return out;
}
