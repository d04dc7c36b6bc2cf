#include "InkViewport.h"

int ClampZoom(long long percent)
{
    if (percent < kInkMinZoom)
        return kInkMinZoom;
    if (percent > kInkMaxZoom)
        return kInkMaxZoom;
    return static_cast<int>(percent);
}

void InkViewport::SetZoom(int percent)
{
    zoom_ = ClampZoom(percent);
}

int InkViewport::ToPixels(int units) const
{
    long long v = static_cast<long long>(units) * zoom_;
    long long d = 100LL * kInkUnitsPerPixel;
    return static_cast<int>(v >= 0 ? (v + d / 2) / d : -((-v + d / 2) / d));
}

int InkViewport::ToUnits(int pixels) const
{
    long long v = static_cast<long long>(pixels) * 100 * kInkUnitsPerPixel;
    return static_cast<int>(v >= 0 ? (v + zoom_ / 2) / zoom_ : -((-v + zoom_ / 2) / zoom_));
}

POINT InkViewport::ToScreen(POINT content) const
{
    return {ToPixels(content.x - origin_.x), ToPixels(content.y - origin_.y)};
}

POINT InkViewport::ToContent(POINT screen) const
{
    return {ClampCoordinate(static_cast<long long>(ToUnits(screen.x)) + origin_.x),
            ClampCoordinate(static_cast<long long>(ToUnits(screen.y)) + origin_.y)};
}

RECT InkViewport::ToScreen(const RECT& content) const
{
    POINT a = ToScreen(POINT{content.left, content.top});
    POINT b = ToScreen(POINT{content.right, content.bottom});
    return {a.x, a.y, b.x, b.y};
}
