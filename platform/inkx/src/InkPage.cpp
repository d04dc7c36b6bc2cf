#include "InkPage.h"

#include "inkx.h"

static const COLORREF kRuleColour = RGB(150, 170, 210);
static const COLORREF kMarginColour = RGB(220, 90, 90);

bool InkPage::HasLeftMargin() const
{
    return style_ == static_cast<int>(kInkPageLeftMargin) ||
           style_ == static_cast<int>(kInkPageLeftTopMargin);
}

bool InkPage::HasTopMargin() const
{
    return style_ == static_cast<int>(kInkPageTopMargin) ||
           style_ == static_cast<int>(kInkPageLeftTopMargin);
}

bool InkPage::HasRules() const
{
    return HasLeftMargin() || HasTopMargin() || style_ == static_cast<int>(kInkPageRuled) ||
           style_ == static_cast<int>(kInkPageGrid) || style_ == static_cast<int>(kInkPageDotted);
}

POINT InkPage::TextOrigin() const
{
    POINT p = {2 * kInkUnitsPerPixel, 0};
    if (HasLeftMargin())
        p.x = kInkLeftMarginX + 3 * kInkUnitsPerPixel;
    if (HasTopMargin())
        p.y = kInkTopMarginY;
    return p;
}

// First multiple of pitch at or after the content coordinate of pixel 0.
static int FirstLine(int originUnits, int pitch)
{
    long long k = originUnits >= 0 ? (originUnits + pitch - 1) / pitch : -((-originUnits) / pitch);
    return static_cast<int>(k * pitch);
}

void InkPage::DrawHorizontal(HDC dc, const RECT& client, const InkViewport& view,
                             bool dotted) const
{
    int pitch = kInkLinePitch;
    POINT origin = view.Origin();
    int bottomUnits = origin.y + view.ToUnits(client.bottom);
    for (int y = FirstLine(origin.y, pitch); y <= bottomUnits; y += pitch) {
        int sy = view.ToScreen(POINT{0, y}).y;
        if (dotted) {
            int step = view.ToPixels(4 * kInkUnitsPerPixel);
            if (step < 2)
                step = 2;
            for (int x = client.left; x < client.right; x += step)
                SetPixel(dc, x, sy, kRuleColour);
        } else {
            MoveToEx(dc, client.left, sy, nullptr);
            LineTo(dc, client.right, sy);
        }
    }
}

void InkPage::DrawVertical(HDC dc, const RECT& client, const InkViewport& view) const
{
    int pitch = kInkLinePitch;
    POINT origin = view.Origin();
    int rightUnits = origin.x + view.ToUnits(client.right);
    for (int x = FirstLine(origin.x, pitch); x <= rightUnits; x += pitch) {
        int sx = view.ToScreen(POINT{x, 0}).x;
        MoveToEx(dc, sx, client.top, nullptr);
        LineTo(dc, sx, client.bottom);
    }
}

void InkPage::Draw(HDC dc, const RECT& client, const InkViewport& view) const
{
    if (!HasRules())
        return;
    HPEN rule = CreatePen(PS_SOLID, 1, kRuleColour);
    HGDIOBJ old = SelectObject(dc, rule);
    DrawHorizontal(dc, client, view, style_ == static_cast<int>(kInkPageDotted));
    if (style_ == static_cast<int>(kInkPageGrid))
        DrawVertical(dc, client, view);
    SelectObject(dc, old);
    DeleteObject(rule);

    if (!HasLeftMargin() && !HasTopMargin())
        return;
    HPEN margin = CreatePen(PS_SOLID, 1, kMarginColour);
    old = SelectObject(dc, margin);
    if (HasLeftMargin()) {
        int sx = view.ToScreen(POINT{kInkLeftMarginX, 0}).x;
        MoveToEx(dc, sx, client.top, nullptr);
        LineTo(dc, sx, client.bottom);
    }
    if (HasTopMargin()) {
        int sy = view.ToScreen(POINT{0, kInkTopMarginY}).y;
        MoveToEx(dc, client.left, sy, nullptr);
        LineTo(dc, client.right, sy);
        MoveToEx(dc, client.left, sy + 2, nullptr);
        LineTo(dc, client.right, sy + 2);
    }
    SelectObject(dc, old);
    DeleteObject(margin);
}
