// The order of the all-notes list: by expiry time or by title, ascending
// or descending, as its column headers choose it.
#pragma once

class NoteEntryList;

// Sort requests besides a column number.
const int kSortReapply = -2;   // the current rule again (time ascending when none yet)
const int kSortDefault = -1;   // time ascending
const int kSortByTime = 0;
const int kSortByTitle = 1;

struct NoteOrder {
    int column = -1;       // -1 until the first sort
    int descending = -1;   // 0 or 1; -1 until the first sort
};

// Takes request into order (a column asked for again turns its direction
// round), then sorts the entries by it. By time, the notes that never
// expire form one block ordered by their files' creation: at the end,
// newest first, when ascending; at the front, oldest first, when
// descending. Entries of equal keys keep their order.
void SortNotes(NoteEntryList& entries, int request, NoteOrder* order);
