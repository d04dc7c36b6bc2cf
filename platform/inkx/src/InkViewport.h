// Maps content units to the pixels of a window at a zoom and scroll origin.
#pragma once

#include "InkStroke.h"

#include <windows.h>

const int kInkMinZoom = 25;
const int kInkMaxZoom = 300;

class InkViewport {
public:
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    POINT Origin() const { return origin_; }   // content units at the window's (0,0)
    void SetOrigin(POINT origin) { origin_ = origin; }

    int ToPixels(int units) const;              // a length
    int ToUnits(int pixels) const;              // a length
    POINT ToScreen(POINT content) const;
    POINT ToContent(POINT screen) const;
    RECT ToScreen(const RECT& content) const;

private:
    int zoom_ = 100;
    POINT origin_ = {0, 0};
};

int ClampZoom(long long percent);
