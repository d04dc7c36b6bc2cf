#include "formats/TextRows.h"

#include "formats/InkContent.h"
#include "formats/PageStyle.h"

#include <algorithm>

namespace formats {

TextRows::TextRows(int textTop, const std::vector<int>& iconTops)
{
    const long long pitch = kPageLinePitch;
    for (int top : iconTops) {
        long long bottom = static_cast<long long>(top) + kInkRecordingIconUnits;  // exclusive
        // An icon above the first line, in a top margin, takes no text row.
        if (bottom <= textTop)
            continue;
        long long first = top > textTop ? (top - static_cast<long long>(textTop)) / pitch : 0;
        long long last = (bottom - 1 - textTop) / pitch;
        taken_.push_back({static_cast<size_t>(first), static_cast<size_t>(last)});
    }
    std::sort(taken_.begin(), taken_.end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    // Icons that share or touch rows become one span, so a line steps over
    // the lot at once.
    size_t kept = 0;
    for (const Span& span : taken_) {
        if (kept > 0 && span.first <= taken_[kept - 1].last + 1)
            taken_[kept - 1].last = std::max(taken_[kept - 1].last, span.last);
        else
            taken_[kept++] = span;
    }
    taken_.resize(kept);
}

size_t TextRows::Next()
{
    size_t row = nextRow_;
    while (nextSpan_ < taken_.size() && taken_[nextSpan_].last < row)
        ++nextSpan_;
    if (nextSpan_ < taken_.size() && taken_[nextSpan_].first <= row)
        row = taken_[nextSpan_++].last + 1;
    nextRow_ = row + 1;
    return row;
}

}  // namespace formats
