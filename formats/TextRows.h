// The page rows typed text stands on. A recording's icon keeps the place the
// content stores for it, and the text steps over every row the icon reaches
// into, so no line runs under one, in notes written before as much as in new
// ones. The ink control lays its lines out by this and the exporter draws
// them by it, so a note reads the same on the device and on the desktop.
#pragma once

#include <stddef.h>

#include <vector>

namespace formats {

class TextRows {
public:
    TextRows() = default;
    // Row 0 begins at textTop; iconTops are the top edges of the icons shown,
    // in any order (content units, as the content stores them).
    TextRows(int textTop, const std::vector<int>& iconTops);

    // The row of the next line: the first free row for the first call, then
    // the first free one after the row last given.
    size_t Next();

private:
    // Rows first..last (inclusive) carry no text.
    struct Span {
        size_t first;
        size_t last;
    };

    std::vector<Span> taken_;  // sorted, and no two overlap or touch
    size_t nextSpan_ = 0;
    size_t nextRow_ = 0;
};

}  // namespace formats
