// The Today screen's background picture: a sky that fades from blue at the
// top of the screen into white. Items that ask the host to draw it under
// them get the same picture, continued at their place on the screen.
#pragma once

#include <windows.h>

namespace shell {

class Watermark {
public:
    // Colour of the picture at a row of the Today screen (0 = its top).
    static COLORREF ColourAt(int screenY);
    // Fills rect of dc with the picture; rowOrigin is the Today screen row
    // that the dc's row 0 shows.
    static void Draw(HDC dc, const RECT& rect, int rowOrigin);
};

}  // namespace shell
