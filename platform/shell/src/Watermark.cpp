#include "platform/shell/src/Watermark.h"

namespace shell {

namespace {

const int kFadeRows = 200;
const COLORREF kSky = RGB(176, 206, 246);

int Blend(int from, int to, int row)
{
    return from + (to - from) * row / kFadeRows;
}

}  // namespace

COLORREF Watermark::ColourAt(int screenY)
{
    if (screenY < 0) {
        screenY = 0;
    }
    if (screenY >= kFadeRows) {
        return RGB(255, 255, 255);
    }
    return RGB(Blend(GetRValue(kSky), 255, screenY), Blend(GetGValue(kSky), 255, screenY),
               Blend(GetBValue(kSky), 255, screenY));
}

void Watermark::Draw(HDC dc, const RECT& area, int rowOrigin)
{
    // Only what the dc can show is filled: an item may hand over any
    // rectangle, and one of a billion rows would stall the Today screen.
    RECT visible;
    RECT rect;
    if (dc == nullptr || GetClipBox(dc, &visible) == ERROR || !IntersectRect(&rect, &area, &visible)) {
        return;
    }
    // Rows of one colour are drawn as one band.
    int y = rect.top;
    while (y < rect.bottom) {
        COLORREF colour = ColourAt(rowOrigin + y);
        int end = y + 1;
        if (rowOrigin + y >= kFadeRows) {
            end = rect.bottom;  // white from here down
        }
        while (end < rect.bottom && ColourAt(rowOrigin + end) == colour) {
            ++end;
        }
        HBRUSH brush = CreateSolidBrush(colour);
        RECT band = {rect.left, y, rect.right, end};
        FillRect(dc, &band, brush);
        DeleteObject(brush);
        y = end;
    }
}

}  // namespace shell
