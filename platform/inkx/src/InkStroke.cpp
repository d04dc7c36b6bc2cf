#include "InkStroke.h"

void InkStroke::AddPoint(POINT p)
{
    p.x = ClampCoordinate(p.x);
    p.y = ClampCoordinate(p.y);
    if (points_.empty()) {
        box_ = {p.x, p.y, p.x, p.y};
    } else {
        if (p.x < box_.left) box_.left = p.x;
        if (p.x > box_.right) box_.right = p.x;
        if (p.y < box_.top) box_.top = p.y;
        if (p.y > box_.bottom) box_.bottom = p.y;
    }
    points_.push_back(p);
}

RECT InkStroke::Bounds() const
{
    int half = width_ / 2 + 1;
    return {box_.left - half, box_.top - half, box_.right + half, box_.bottom + half};
}

static long long SquaredDistanceToSegment(POINT p, POINT a, POINT b)
{
    long long dx = b.x - a.x, dy = b.y - a.y;
    long long px = p.x - a.x, py = p.y - a.y;
    long long len = dx * dx + dy * dy;
    if (len == 0)
        return px * px + py * py;
    long long t = px * dx + py * dy;
    if (t <= 0)
        return px * px + py * py;
    if (t >= len) {
        long long qx = p.x - b.x, qy = p.y - b.y;
        return qx * qx + qy * qy;
    }
    // Distance to the line: |cross|^2 / len, in floating point to avoid overflow.
    double cross = static_cast<double>(px * dy - py * dx);
    return static_cast<long long>(cross * cross / static_cast<double>(len));
}

bool InkStroke::Touches(POINT p, int radius) const
{
    RECT b = Bounds();
    if (p.x < b.left - radius || p.x > b.right + radius || p.y < b.top - radius ||
        p.y > b.bottom + radius)
        return false;
    long long r = radius + width_ / 2;
    for (size_t i = 0; i < points_.size(); ++i) {
        POINT a = points_[i];
        POINT c = i + 1 < points_.size() ? points_[i + 1] : a;
        if (SquaredDistanceToSegment(p, a, c) <= r * r)
            return true;
    }
    return false;
}

void InkStroke::Offset(int dx, int dy)
{
    std::vector<POINT> old;
    old.swap(points_);
    for (POINT p : old)
        AddPoint({p.x + dx, p.y + dy});
}
