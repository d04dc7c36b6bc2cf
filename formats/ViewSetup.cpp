#include "formats/ViewSetup.h"

#include "formats/InkContent.h"

namespace formats {

ViewSetup ReadViewSetup(const int32_t* block)
{
    ViewSetup v;
    int32_t flags = block[0];
    v.editable = (flags & kViewEditable) != 0;
    v.scrollVertical = (flags & kViewScrollVertical) != 0;
    v.scrollHorizontal = (flags & kViewScrollHorizontal) != 0;
    v.showRecordings = (flags & kViewShowRecordings) != 0;
    if (block[1] >= 1 && block[1] <= 16)
        v.penWidth = block[1] * kInkUnitsPerPixel / 2;
    v.fitWidth = block[2] == 0;
    v.zoom = block[2];
    v.pageStyle = block[3];
    v.penColour = static_cast<uint32_t>(block[4]) & 0x00FFFFFF;
    v.firstLine = block[5] > 0 && block[5] < 100000 ? block[5] : 0;
    return v;
}

}  // namespace formats
