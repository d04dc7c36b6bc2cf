// The page background of each style: lines drawn in content space, so they
// scroll and zoom with the ink. Also where typed text starts on the page.
#pragma once

#include "InkViewport.h"

#include <windows.h>

// Spacing of ruled lines, grid squares and text lines (content units).
const int kInkLinePitch = 16 * kInkUnitsPerPixel;
const int kInkLeftMarginX = 24 * kInkUnitsPerPixel;
const int kInkTopMarginY = 2 * kInkLinePitch;

class InkPage {
public:
    void SetStyle(int style) { style_ = style; }
    int Style() const { return style_; }
    // Draws the style's lines over whatever background is already there.
    void Draw(HDC dc, const RECT& client, const InkViewport& view) const;
    // Top-left of the first text line (content units).
    POINT TextOrigin() const;

private:
    bool HasLeftMargin() const;
    bool HasTopMargin() const;
    bool HasRules() const;
    void DrawHorizontal(HDC dc, const RECT& client, const InkViewport& view, bool dotted) const;
    void DrawVertical(HDC dc, const RECT& client, const InkViewport& view) const;

    int style_ = 16;
};
