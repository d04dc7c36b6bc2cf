#include "platform/peghelp/src/HelpLayout.h"

#include <algorithm>

namespace peghelp {

namespace {

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

size_t HelpLayout::BreakLine(HelpTextMeasure& measure, const wchar_t* text, size_t length,
                             int width, size_t& next)
{
    size_t piece = std::min(length, kPiece);
    size_t fits = std::min(measure.Fit(text, piece, width), piece);
    if (fits >= length) {
        next = length;
        return length;
    }
    // The character after the ones that fit may be the break itself.
    size_t space = fits;
    while (space > 0 && text[space] != L' ') {
        --space;
    }
    size_t shown = space;
    if (space == 0) {
        // One word wider than the line: cut it, a character at least, and
        // never between the halves of a surrogate pair.
        shown = fits > 0 ? fits : 1;
        if (shown < length && IsLowSurrogate(text[shown])) {
            shown = shown > 1 ? shown - 1 : shown + 1;
        }
        next = shown;
    } else {
        next = space;
    }
    while (shown > 0 && text[shown - 1] == L' ') {
        --shown;
    }
    while (next < length && text[next] == L' ') {
        ++next;
    }
    return shown;
}

void HelpLayout::Build(HelpTextMeasure& measure, const std::vector<HelpBlock>& blocks, int top,
                       int gap)
{
    lines_.clear();
    int y = top;
    for (size_t b = 0; b < blocks.size(); ++b) {
        int lineHeight = 1;
        int width = 0;
        measure.Begin(blocks[b].kind, &lineHeight, &width);
        if (lineHeight < 1)
            lineHeight = 1;
        const std::wstring& text = blocks[b].text;
        size_t at = 0;
        while (at < text.size() && text[at] == L' ') {
            ++at;
        }
        while (at < text.size()) {
            size_t next = 0;
            size_t shown = BreakLine(measure, text.c_str() + at, text.size() - at, width, next);
            lines_.push_back({b, at, shown, y, lineHeight});
            y += lineHeight;
            at += next;
        }
        measure.End();
        y += gap;
    }
    bottom_ = y;
}

size_t HelpLayout::FirstLineBelow(int y) const
{
    auto first = std::upper_bound(lines_.begin(), lines_.end(), y, [](int row, const HelpLine& line) {
        return row < line.top + line.height;
    });
    return static_cast<size_t>(first - lines_.begin());
}

}  // namespace peghelp
