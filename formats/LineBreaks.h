// Where a paragraph of typed text breaks into lines of the page: the ink
// control wraps by it on the device and the exporter draws by it, so a
// note's lines stand where they stood on the handheld.
#pragma once

#include <stddef.h>

#include <vector>

namespace formats {

struct LineSpan {
    size_t start;
    size_t length;  // the space a line was broken at stays on it
};

// Breaks text[start, end), which holds no line break, into lines at most
// wrap wide; advances[i] is the width of text[start + i]. A line breaks
// after the last space that fits, and a word longer than the line is cut
// where it has to be. An empty paragraph is one empty line.
template <typename Char>
void BreakParagraph(const Char* text, size_t start, size_t end, const int* advances, long long wrap,
                    std::vector<LineSpan>* lines)
{
    if (start == end) {
        lines->push_back({start, 0});
        return;
    }
    size_t pos = start;
    while (pos < end) {
        size_t fitEnd = pos;
        long long width = 0;
        while (fitEnd < end && width + advances[fitEnd - start] <= wrap)
            width += advances[fitEnd++ - start];
        if (fitEnd >= end) {
            lines->push_back({pos, end - pos});
            return;
        }
        size_t lineEnd = fitEnd > pos ? fitEnd : pos + 1;
        size_t space = lineEnd;
        while (space > pos && text[space] != ' ')
            --space;
        if (text[space] == ' ' && space > pos)
            lineEnd = space + 1;
        else if (text[lineEnd] == ' ')
            ++lineEnd;
        lines->push_back({pos, lineEnd - pos});
        pos = lineEnd;
    }
}

}  // namespace formats
