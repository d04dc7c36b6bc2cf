#include "desktop/export/NoteOrder.h"

#include "desktop/export/ExpiryText.h"

#include <utility>

namespace exporter {

void SortByTime(std::vector<NoteReading*>& notes)
{
    std::vector<NoteReading*> listed;
    std::vector<NoteReading*> unlisted;
    for (NoteReading* n : notes)
        (n->HasHead() ? listed : unlisted).push_back(n);

    // The program's exchange pass, so that notes with equal keys keep the
    // order the list gives them.
    for (size_t k = 0; k < listed.size(); ++k) {
        for (size_t m = k + 1; m < listed.size(); ++m) {
            const formats::NoteTime& a = listed[k]->fields.expiry;
            const formats::NoteTime& b = listed[m]->fields.expiry;
            bool swap = NeverExpires(a) || (!NeverExpires(b) && TimeKey(a) > TimeKey(b));
            if (swap)
                std::swap(listed[k], listed[m]);
        }
    }
    // The never-expiring block at the end: newest created first.
    size_t first = listed.size();
    while (first > 0 && NeverExpires(listed[first - 1]->fields.expiry))
        --first;
    size_t block = listed.size() - first;
    for (size_t pass = 1; pass < block; ++pass) {
        for (size_t i = first; i + 1 < listed.size(); ++i) {
            if (listed[i]->created < listed[i + 1]->created)
                std::swap(listed[i], listed[i + 1]);
        }
    }
    notes = listed;
    notes.insert(notes.end(), unlisted.begin(), unlisted.end());
}

}  // namespace exporter
