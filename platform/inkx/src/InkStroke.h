// One pen stroke, in content units (kInkUnitsPerPixel units to a pixel of
// the page at 100 % zoom), so that any zoom redraws it exactly.
#pragma once

#include "formats/InkContent.h"

#include <windows.h>

#include <vector>

const int kInkUnitsPerPixel = formats::kInkUnitsPerPixel;
// Content coordinates stay inside +-kInkMaxCoordinate; larger values from a
// stream are clamped, which also keeps every zoom product inside 32 bits.
const int kInkMaxCoordinate = formats::kInkMaxCoordinate;

class InkStroke {
public:
    InkStroke() = default;
    InkStroke(COLORREF colour, int width) : colour_(colour), width_(width) {}

    void AddPoint(POINT p);
    void Reserve(size_t count) { points_.reserve(count); }
    const std::vector<POINT>& Points() const { return points_; }
    COLORREF Colour() const { return colour_; }
    int Width() const { return width_; }  // content units
    // Bounding box of the points, grown by half the pen width.
    RECT Bounds() const;
    // True when the stroke passes within radius units of p.
    bool Touches(POINT p, int radius) const;
    void Offset(int dx, int dy);

private:
    std::vector<POINT> points_;
    COLORREF colour_ = RGB(0, 0, 0);
    int width_ = 2 * kInkUnitsPerPixel;
    RECT box_ = {0, 0, 0, 0};
};

inline int ClampCoordinate(long long v)
{
    return formats::ClampInkCoordinate(v);
}
