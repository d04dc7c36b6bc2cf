// A note's content as one SVG picture: the paper and its page style, the
// strokes at their widths and colours, the typed text, and an icon where
// each recording sits. Coordinates are the content's own units, so the
// picture is exact at any size; its width and height are those of the note
// at its zoom.
#pragma once

#include "formats/InkContent.h"

#include <stdint.h>

#include <string>

namespace exporter {

struct PageLook {
    int pageStyle = 16;              // formats/PageStyle.h
    uint32_t paper = 0x0000FFFF;     // COLORREF: the note window's yellow
    uint32_t zoom = 200;             // percent
};

// The whole document, with an XML declaration when standalone (a file of
// its own) and without one for inclusion in a page.
std::string RenderSvg(const formats::InkContent& content, const PageLook& look, bool standalone);

}  // namespace exporter
