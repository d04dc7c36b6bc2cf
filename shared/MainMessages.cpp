#include "shared/MainMessages.h"

#include <wchar.h>

const wchar_t kWordShowAll[] = L"showall";
const wchar_t kWordAddNew[] = L"addnew";
const wchar_t kWordRunAtTime[] = L"AppRunAtTime";

namespace {

// The one table of words and messages, read both ways. The empty command
// line shows all notes as "showall" does; a message has the first word
// listed for it.
const struct {
    const wchar_t* word;
    UINT message;
} kCommandWords[] = {
    {kWordShowAll, kMsgShowAllNotes},
    {L"", kMsgShowAllNotes},
    {kWordAddNew, kMsgNewNote},
    {kWordRunAtTime, kMsgCheckExpired},
};

}  // namespace

UINT MessageOfCommandWord(const wchar_t* word)
{
    for (const auto& entry : kCommandWords) {
        if (word != nullptr && wcscmp(word, entry.word) == 0)
            return entry.message;
    }
    return 0;
}

const wchar_t* CommandWordOfMessage(UINT message)
{
    for (const auto& entry : kCommandWords) {
        if (entry.message == message)
            return entry.word;
    }
    return nullptr;
}
