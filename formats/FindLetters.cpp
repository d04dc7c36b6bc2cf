#include "formats/FindLetters.h"

namespace formats {

const FindLetter kFindLetters[] = {
    {u'\u00DF', "ss"},  // sharp s
    {u'\u1E9E', "ss"},  // capital sharp s
    {u'\u00E6', "ae"},
    {u'\u0153', "oe"},
    {u'\u00F8', "o"},   // o with stroke
    {u'\u0142', "l"},   // l with stroke
    {u'\u0140', "l"},   // l with middle dot
    {u'\u0111', "d"},   // d with stroke
    {u'\u00F0', "d"},   // eth
    {u'\u0127', "h"},   // h with stroke
    {u'\u0131', "i"},   // dotless i
    {u'\u00FE', "th"},  // thorn
    {u'\u0138', "k"},   // kra
    {u'\u0149', "n"},   // n preceded by an apostrophe
};
const size_t kFindLetterCount = sizeof(kFindLetters) / sizeof(kFindLetters[0]);

const char* FindLetterSpelling(char16_t letter)
{
    for (const FindLetter& entry : kFindLetters) {
        if (entry.letter == letter)
            return entry.spelling;
    }
    return nullptr;
}

}  // namespace formats
