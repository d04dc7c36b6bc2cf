// Draws strokes smoothly: GDI+ with anti-aliasing when it could be started,
// plain GDI lines otherwise.
#pragma once

#include "InkStroke.h"
#include "InkViewport.h"

#include <windows.h>

class InkStrokePainter {
public:
    // Starts GDI+ for the process (once; not from DllMain).
    static void Startup();

    explicit InkStrokePainter(HDC dc);
    ~InkStrokePainter();
    InkStrokePainter(const InkStrokePainter&) = delete;
    InkStrokePainter& operator=(const InkStrokePainter&) = delete;

    // Draws the stroke if it meets clip (screen pixels).
    void Draw(const InkStroke& stroke, const InkViewport& view, const RECT& clip);
    // One segment of a stroke being written (screen pixels).
    void Segment(POINT from, POINT to, COLORREF colour, int widthPixels);

private:
    HDC dc_;
    void* graphics_ = nullptr;  // Gdiplus::Graphics when GDI+ runs
};
