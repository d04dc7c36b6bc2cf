#include "InkStrokePainter.h"

#include <gdiplus.h>

#include <vector>

static bool gdiplusRunning = false;

void InkStrokePainter::Startup()
{
    static bool tried = false;
    if (tried)
        return;
    tried = true;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    gdiplusRunning = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    // GDI+ stays up until the process ends: controls may be drawn until then.
}

InkStrokePainter::InkStrokePainter(HDC dc) : dc_(dc)
{
    if (!gdiplusRunning)
        return;
    Gdiplus::Graphics* g = new Gdiplus::Graphics(dc);
    if (g->GetLastStatus() != Gdiplus::Ok) {
        delete g;
        return;
    }
    g->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics_ = g;
}

InkStrokePainter::~InkStrokePainter()
{
    delete static_cast<Gdiplus::Graphics*>(graphics_);
}

static Gdiplus::Color ToColor(COLORREF c)
{
    return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
}

void InkStrokePainter::Segment(POINT from, POINT to, COLORREF colour, int widthPixels)
{
    if (widthPixels < 1)
        widthPixels = 1;
    Gdiplus::Graphics* g = static_cast<Gdiplus::Graphics*>(graphics_);
    if (g != nullptr) {
        Gdiplus::Pen pen(ToColor(colour), static_cast<Gdiplus::REAL>(widthPixels));
        pen.SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
        if (from.x == to.x && from.y == to.y) {
            Gdiplus::SolidBrush brush(ToColor(colour));
            Gdiplus::REAL r = widthPixels / 2.0f + 0.5f;
            g->FillEllipse(&brush, from.x - r, from.y - r, 2 * r, 2 * r);
        } else {
            g->DrawLine(&pen, static_cast<INT>(from.x), static_cast<INT>(from.y), static_cast<INT>(to.x),
                        static_cast<INT>(to.y));
        }
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, widthPixels, colour);
    HGDIOBJ old = SelectObject(dc_, pen);
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x + (from.x == to.x && from.y == to.y ? 1 : 0), to.y);
    SelectObject(dc_, old);
    DeleteObject(pen);
}

void InkStrokePainter::Draw(const InkStroke& stroke, const InkViewport& view, const RECT& clip)
{
    const std::vector<POINT>& pts = stroke.Points();
    if (pts.empty())
        return;
    RECT box = view.ToScreen(stroke.Bounds());
    RECT hit;
    InflateRect(&box, 2, 2);
    if (!IntersectRect(&hit, &box, &clip))
        return;
    int width = view.ToPixels(stroke.Width());
    if (width < 1)
        width = 1;
    if (pts.size() == 1) {
        POINT p = view.ToScreen(pts[0]);
        Segment(p, p, stroke.Colour(), width);
        return;
    }
    Gdiplus::Graphics* g = static_cast<Gdiplus::Graphics*>(graphics_);
    if (g != nullptr) {
        std::vector<Gdiplus::Point> screen;
        screen.reserve(pts.size());
        for (const POINT& p : pts) {
            POINT s = view.ToScreen(p);
            screen.emplace_back(s.x, s.y);
        }
        Gdiplus::Pen pen(ToColor(stroke.Colour()), static_cast<Gdiplus::REAL>(width));
        pen.SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
        pen.SetLineJoin(Gdiplus::LineJoinRound);
        // A gentle spline through the samples takes the corners off what the
        // digitiser delivered, without wandering from the written line.
        if (screen.size() >= 3)
            g->DrawCurve(&pen, screen.data(), static_cast<INT>(screen.size()), 0.4f);
        else
            g->DrawLines(&pen, screen.data(), static_cast<INT>(screen.size()));
        return;
    }
    std::vector<POINT> screen;
    screen.reserve(pts.size());
    for (const POINT& p : pts)
        screen.push_back(view.ToScreen(p));
    HPEN pen = CreatePen(PS_SOLID, width, stroke.Colour());
    HGDIOBJ old = SelectObject(dc_, pen);
    Polyline(dc_, screen.data(), static_cast<int>(screen.size()));
    SelectObject(dc_, old);
    DeleteObject(pen);
}
