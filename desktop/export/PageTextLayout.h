// The typed text of a note on its page as the device lays it out: each
// paragraph wrapped at the ink control's width at the note's zoom by the
// control's own rule (formats/LineBreaks.h), each line on the row
// formats::TextRows gives it beside the recordings' icons. The page font's
// widths are measured by cairo at the pixel size the control asks for.
#pragma once

#include "formats/InkContent.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace exporter {

struct PageTextLine {
    std::u16string text;  // without the space it was broken at
    size_t start;         // where it begins in the content's text
    long long top;        // content units
};

// zoom in percent; a page taller than the window (by its text, ink or
// icons) has a scroll bar, and the text wraps short of it.
std::vector<PageTextLine> LayPageText(const formats::InkContent& content, int pageStyle, uint32_t zoom);

}  // namespace exporter
