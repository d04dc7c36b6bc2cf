// A topic's blocks broken into the lines the viewer shows. Lines are broken
// here rather than by DrawText: DrawText wraps a whole block in one call,
// which Wine does in time that grows with the square of the block's length,
// so one long paragraph stalled the viewer. Each line is measured from a
// piece of text a little longer than a line can be, so the whole layout
// grows linearly with the text. What it measures with is a seam
// (HelpTextMeasure), so the layout needs no window.
#pragma once

#include "platform/peghelp/src/HelpDocument.h"
#include "platform/peghelp/src/HelpTextMeasure.h"

#include <vector>

namespace peghelp {

struct HelpLine {
    size_t block;   // index in the blocks laid out
    size_t start;   // first character in the block's text
    size_t length;  // characters shown, the spaces at the break left out
    int top;        // in the content, from its top
    int height;
};

class HelpLayout {
public:
    // Characters measured for one line at most: more than a line of the
    // narrowest letters holds on the screen.
    static constexpr size_t kPiece = 256;

    // Lays blocks out from content row top, gap rows between blocks; the
    // height of the whole is Bottom(). The text stays in blocks.
    void Build(HelpTextMeasure& measure, const std::vector<HelpBlock>& blocks, int top, int gap);
    const std::vector<HelpLine>& Lines() const { return lines_; }
    int Bottom() const { return bottom_; }
    // The first line whose rows reach below content row y.
    size_t FirstLineBelow(int y) const;

    // Characters of the line starting at text[0] that fit width pixels:
    // up to the last space that fits, or a word cut where no space
    // does. next gets where the following line starts.
    static size_t BreakLine(HelpTextMeasure& measure, const wchar_t* text, size_t length, int width,
                            size_t& next);

private:
    std::vector<HelpLine> lines_;
    int bottom_ = 0;
};

}  // namespace peghelp
