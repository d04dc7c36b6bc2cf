// The page background of each style: lines drawn in content space, so they
// scroll and zoom with the ink. Also where typed text starts on the page.
#pragma once

#include "InkViewport.h"

#include "formats/PageStyle.h"

#include <windows.h>

// Spacing of ruled lines, grid squares and text lines (content units): the
// page's geometry is the format library's, which the exporter draws too.
const int kInkLinePitch = formats::kPageLinePitch;
const int kInkLeftMarginX = formats::kPageLeftMarginX;
const int kInkTopMarginY = formats::kPageTopMarginY;

class InkPage {
public:
    void SetStyle(int style) { style_ = style; }
    int Style() const { return style_; }
    // Draws the style's lines over whatever background is already there.
    void Draw(HDC dc, const RECT& client, const InkViewport& view) const;
    // Top-left of the first text line (content units).
    POINT TextOrigin() const;

private:
    void DrawHorizontal(HDC dc, const RECT& client, const InkViewport& view, bool dotted) const;
    void DrawVertical(HDC dc, const RECT& client, const InkViewport& view) const;

    int style_ = 16;
};
