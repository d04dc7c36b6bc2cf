// Letters a person takes for other letters when looking for a word, though
// no decomposition spells them so: the system's comparison that ignores
// case and marks takes "ß" for "ss", "æ" for "ae", "ø" for "o". The
// device's find and the exported page's find fold text by this one table,
// so that both find the same notes.
#pragma once

#include <stddef.h>

namespace formats {

struct FindLetter {
    char16_t letter;       // a lower-case letter (and U+1E9E, which has none)
    const char* spelling;  // what it is read as, in ASCII lower case
};

extern const FindLetter kFindLetters[];
extern const size_t kFindLetterCount;

// The spelling of letter, or null when it is read as itself.
const char* FindLetterSpelling(char16_t letter);

}  // namespace formats
