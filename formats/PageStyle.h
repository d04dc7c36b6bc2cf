// The page styles of the ink control (its kInkMsgSetPageStyle values) and
// the lines each draws, in content units, for every painter of a page: the
// control on the device and the exporter on the desktop.
#pragma once

#include "formats/InkContent.h"

#include <stdint.h>

namespace formats {

const int kPageLeftMargin = 0;
const int kPageTopMargin = 1;
const int kPageRuled = 2;
const int kPageGrid = 4;
const int kPageLeftTopMargin = 8;
const int kPageBlank = 16;
const int kPageDotted = 32;

// Spacing of ruled lines, grid squares and text lines.
const int kPageLinePitch = 16 * kInkUnitsPerPixel;
const int kPageLeftMarginX = 24 * kInkUnitsPerPixel;
const int kPageTopMarginY = 2 * kPageLinePitch;
// Typed text at 100 % zoom.
const int kPageTextFontPixels = 13;

struct PageRules {
    bool horizontal = false;  // ruled lines every pitch
    bool dotted = false;      // the ruled lines are dotted
    bool vertical = false;    // grid columns every pitch
    bool leftMargin = false;
    bool topMargin = false;
};

// Any value that is no style is a blank page.
PageRules RulesOf(int style);
// Top-left of the first text line.
InkPoint TextOriginOf(int style);

// The program's "Page" setting is an index into these styles; the note
// window shows the style while its grid button is down, which it is from
// the start for any setting but 0.
const int kPageSettingCount = 7;
int PageStyleOfSetting(int setting);

}  // namespace formats
