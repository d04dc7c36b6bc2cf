#include "notelist/RedrawHold.h"

RedrawHold::RedrawHold(HWND held) : window(held)
{
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
}

RedrawHold::~RedrawHold()
{
    // A window gone meanwhile has nothing to repaint.
    if (!IsWindow(window))
        return;
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
}
