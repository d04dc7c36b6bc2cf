// Redrawing of a window held off for as long as this object lives: made, it
// sends WM_SETREDRAW FALSE; gone, TRUE and the whole window repainted. The
// one place the list turns its painting off, so that no way through a fill
// can leave it off: Wine's list view held off paints no rows, drops its
// invalidations and its scroll updates, and shows the old rows over a list
// that holds others.
#pragma once

#include <windows.h>

class RedrawHold {
public:
    explicit RedrawHold(HWND window);
    ~RedrawHold();
    RedrawHold(const RedrawHold&) = delete;
    RedrawHold& operator=(const RedrawHold&) = delete;

private:
    HWND window;
};
