// The view set-up block the ink control takes (kInkMsgViewSetup): six
// 32-bit values, read here into what each means.
//  [0] view flags: editable 1 | scroll vertically 2 | scroll horizontally 4
//      | show recordings 8
//  [1] pen width in half pixels of the page at 100 % (1..16; others keep
//      the current width)
//  [2] zoom percent (25..300); 0 fits the page width into the window
//  [3] page style (formats/PageStyle.h)
//  [4] pen colour, a COLORREF (0 = black)
//  [5] first content line shown (scroll position, in text lines), 0 = top
#pragma once

#include <stdint.h>

namespace formats {

const int32_t kViewEditable = 1;
const int32_t kViewScrollVertical = 2;
const int32_t kViewScrollHorizontal = 4;
const int32_t kViewShowRecordings = 8;
const int kViewSetupValues = 6;

struct ViewSetup {
    bool editable = false;
    bool scrollVertical = false;
    bool scrollHorizontal = false;
    bool showRecordings = false;
    int penWidth = 0;   // content units; 0 keeps the current width
    bool fitWidth = false;
    int zoom = 0;       // percent as given; the control limits it
    int pageStyle = 0;
    uint32_t penColour = 0;
    int firstLine = 0;  // out-of-range values are the top
};

ViewSetup ReadViewSetup(const int32_t* block);

}  // namespace formats
