#include "desktop/export/InkPicture.h"

#include "formats/PageStyle.h"

#include <cairo.h>
#include <math.h>

#include <algorithm>

namespace exporter {

namespace {

using formats::kInkUnitsPerPixel;

const int kWindowWidth = 240;  // the note window's ink area, in pixels
const int kWindowHeight = 226;
const uint32_t kRuleColour = 0xD2AA96;  // COLORREFs, as the control paints them
const uint32_t kMarginColour = 0x5A5ADC;

void SetColour(cairo_t* cr, uint32_t colourRef)
{
    cairo_set_source_rgb(cr, (colourRef & 0xFF) / 255.0, ((colourRef >> 8) & 0xFF) / 255.0,
                         ((colourRef >> 16) & 0xFF) / 255.0);
}

struct Box {
    long long left = 0;
    long long top = 0;
    long long right = 0;
    long long bottom = 0;
};

Box InkBox(const formats::InkContent& content, uint32_t zoom)
{
    Box box;
    box.right = kWindowWidth * kInkUnitsPerPixel * 100LL / zoom;
    box.bottom = kWindowHeight * kInkUnitsPerPixel * 100LL / zoom;
    for (const formats::InkStrokeData& s : content.strokes) {
        for (const formats::InkPoint& p : s.points) {
            box.left = std::min<long long>(box.left, p.x - s.width);
            box.top = std::min<long long>(box.top, p.y - s.width);
            box.right = std::max<long long>(box.right, p.x + s.width);
            box.bottom = std::max<long long>(box.bottom, p.y + s.width);
        }
    }
    return box;
}

// Rule lines on the whole box, one device pixel wide at any scale.
void DrawRules(cairo_t* cr, int style, const Box& box, double pixel)
{
    formats::PageRules rules = formats::RulesOf(style);
    const long long pitch = formats::kPageLinePitch;
    cairo_set_line_width(cr, pixel);
    if (rules.horizontal) {
        SetColour(cr, kRuleColour);
        if (rules.dotted) {
            double dash[] = {4 * pixel, 12 * pixel};
            cairo_set_dash(cr, dash, 2, 0);
        }
        long long firstY = box.top / pitch * pitch;
        for (long long y = firstY; y <= box.bottom; y += pitch) {
            cairo_move_to(cr, box.left, y);
            cairo_line_to(cr, box.right, y);
        }
        if (rules.vertical) {
            for (long long x = box.left / pitch * pitch; x <= box.right; x += pitch) {
                cairo_move_to(cr, x, box.top);
                cairo_line_to(cr, x, box.bottom);
            }
        }
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    SetColour(cr, kMarginColour);
    if (rules.leftMargin) {
        cairo_move_to(cr, formats::kPageLeftMarginX, box.top);
        cairo_line_to(cr, formats::kPageLeftMarginX, box.bottom);
    }
    if (rules.topMargin) {
        for (long long y : {formats::kPageTopMarginY, formats::kPageTopMarginY + 2 * kInkUnitsPerPixel}) {
            cairo_move_to(cr, box.left, y);
            cairo_line_to(cr, box.right, y);
        }
    }
    cairo_stroke(cr);
}

void DrawStrokes(cairo_t* cr, const formats::InkContent& content)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const formats::InkStrokeData& s : content.strokes) {
        if (s.points.empty())
            continue;
        SetColour(cr, s.colour);
        cairo_set_line_width(cr, s.width);
        cairo_move_to(cr, s.points[0].x, s.points[0].y);
        // One point still shows as a dot: a segment of no length with round caps.
        for (size_t i = s.points.size() == 1 ? 0 : 1; i < s.points.size(); ++i)
            cairo_line_to(cr, s.points[i].x, s.points[i].y);
        cairo_stroke(cr);
    }
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

InkPicture RenderInkPng(const formats::InkContent& content, const PageLook& look)
{
    InkPicture picture;
    if (content.strokes.empty())
        return picture;
    uint32_t zoom = std::min<uint32_t>(std::max<uint32_t>(look.zoom, 25), 300);
    Box box = InkBox(content, zoom);
    // Pixels per content unit at the zoom, then shrunk to the limits.
    double scale = zoom / 100.0 / kInkUnitsPerPixel;
    double w = (box.right - box.left) * scale;
    double h = (box.bottom - box.top) * scale;
    double shrink = std::min({1.0, kMaxPictureSide / w, kMaxPictureSide / h,
                              sqrt(static_cast<double>(kMaxPicturePixels) / (w * h))});
    scale *= shrink;
    picture.width = std::max(1, static_cast<int>(ceil(w * shrink)));
    picture.height = std::max(1, static_cast<int>(ceil(h * shrink)));

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -static_cast<double>(box.left), -static_cast<double>(box.top));
    SetColour(cr, look.paper);
    cairo_paint(cr);
    DrawRules(cr, look.pageStyle, box, 1.0 / scale);
    DrawStrokes(cr, content);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_write_to_png_stream(surface, AppendBytes, &picture.png) != CAIRO_STATUS_SUCCESS)
        picture = InkPicture();
    cairo_surface_destroy(surface);
    return picture;
}

}  // namespace exporter
