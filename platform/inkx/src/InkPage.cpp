#include "InkPage.h"

static const COLORREF kRuleColour = RGB(150, 170, 210);
static const COLORREF kMarginColour = RGB(220, 90, 90);

POINT InkPage::TextOrigin() const
{
    formats::InkPoint p = formats::TextOriginOf(style_);
    return {p.x, p.y};
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
    formats::PageRules rules = formats::RulesOf(style_);
    if (!rules.horizontal)
        return;
    HPEN rule = CreatePen(PS_SOLID, 1, kRuleColour);
    HGDIOBJ old = SelectObject(dc, rule);
    DrawHorizontal(dc, client, view, rules.dotted);
    if (rules.vertical)
        DrawVertical(dc, client, view);
    SelectObject(dc, old);
    DeleteObject(rule);

    if (!rules.leftMargin && !rules.topMargin)
        return;
    HPEN margin = CreatePen(PS_SOLID, 1, kMarginColour);
    old = SelectObject(dc, margin);
    if (rules.leftMargin) {
        int sx = view.ToScreen(POINT{kInkLeftMarginX, 0}).x;
        MoveToEx(dc, sx, client.top, nullptr);
        LineTo(dc, sx, client.bottom);
    }
    if (rules.topMargin) {
        int sy = view.ToScreen(POINT{0, kInkTopMarginY}).y;
        MoveToEx(dc, client.left, sy, nullptr);
        LineTo(dc, client.right, sy);
        MoveToEx(dc, client.left, sy + 2, nullptr);
        LineTo(dc, client.right, sy + 2);
    }
    SelectObject(dc, old);
    DeleteObject(margin);
}
