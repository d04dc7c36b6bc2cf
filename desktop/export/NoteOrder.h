// The order of the all-notes list sorted by time, as a first tap on the
// time column gives it: notes with an expiry, earliest first, then the
// notes that never expire, the most recently created first.
#pragma once

#include "desktop/export/NoteReading.h"

#include <vector>

namespace exporter {

// Notes without a whole head have no expiry to sort by; they come last, in
// the order given.
void SortByTime(std::vector<NoteReading*>& notes);

}  // namespace exporter
