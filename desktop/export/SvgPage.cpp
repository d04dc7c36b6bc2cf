#include "desktop/export/SvgPage.h"

#include "desktop/export/Markup.h"
#include "desktop/export/PageTextLayout.h"
#include "formats/PageStyle.h"
#include "formats/WaveBlock.h"

#include <stdio.h>

#include <algorithm>

namespace exporter {

namespace {

using formats::kInkUnitsPerPixel;

// The note window's ink area on the 240 x 320 screen, in pixels.
const int kWindowWidth = 240;
const int kWindowHeight = 226;
const int kRuleColour = 0xD2AA96;    // COLORREFs, as the control paints them
const int kMarginColour = 0x5A5ADC;

std::string Colour(uint32_t colourRef)
{
    char text[8];
    snprintf(text, sizeof text, "#%02x%02x%02x", colourRef & 0xFF, (colourRef >> 8) & 0xFF,
             (colourRef >> 16) & 0xFF);
    return text;
}

std::string Num(long long v)
{
    return std::to_string(v);
}

// The page from its top left corner (0 0, or further up and left where
// ink was written beyond it) to the farthest thing on it.
struct Extent {
    long long left = 0;
    long long top = 0;
    long long right = 0;
    long long bottom = 0;
    void Grow(long long x, long long y)
    {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
};

void AppendRules(std::string& svg, int style, const Extent& page)
{
    const long long left = page.left, top = page.top, right = page.right, bottom = page.bottom;
    formats::PageRules rules = formats::RulesOf(style);
    const int pitch = formats::kPageLinePitch;
    std::string line = "\" stroke-width=\"1\" vector-effect=\"non-scaling-stroke\"";
    if (rules.horizontal) {
        svg += "<g class=\"rules\" stroke=\"" + Colour(kRuleColour) + line;
        if (rules.dotted)
            svg += " stroke-dasharray=\"4 12\"";
        svg += ">";
        for (long long y = top / pitch * pitch; y <= bottom; y += pitch)
            svg += "<line x1=\"" + Num(left) + "\" y1=\"" + Num(y) + "\" x2=\"" + Num(right) + "\" y2=\"" + Num(y) + "\"/>";
        if (rules.vertical) {
            for (long long x = left / pitch * pitch; x <= right; x += pitch)
                svg += "<line x1=\"" + Num(x) + "\" y1=\"" + Num(top) + "\" x2=\"" + Num(x) + "\" y2=\"" + Num(bottom) + "\"/>";
        }
        svg += "</g>";
    }
    if (rules.leftMargin || rules.topMargin) {
        svg += "<g class=\"margins\" stroke=\"" + Colour(kMarginColour) + line + ">";
        if (rules.leftMargin) {
            long long x = formats::kPageLeftMarginX;
            svg += "<line x1=\"" + Num(x) + "\" y1=\"" + Num(top) + "\" x2=\"" + Num(x) + "\" y2=\"" + Num(bottom) + "\"/>";
        }
        if (rules.topMargin) {
            for (long long y : {formats::kPageTopMarginY, formats::kPageTopMarginY + 2 * kInkUnitsPerPixel})
                svg += "<line x1=\"" + Num(left) + "\" y1=\"" + Num(y) + "\" x2=\"" + Num(right) + "\" y2=\"" + Num(y) + "\"/>";
        }
        svg += "</g>";
    }
}

void AppendStroke(std::string& svg, const formats::InkStrokeData& s)
{
    svg += "<path class=\"stroke\" stroke=\"" + Colour(s.colour) + "\" stroke-width=\"" +
           Num(s.width) + "\" d=\"";
    for (size_t i = 0; i < s.points.size(); ++i) {
        svg += i == 0 ? "M" : " L";
        svg += Num(s.points[i].x) + " " + Num(s.points[i].y);
    }
    // One point still shows as a dot: a segment of no length with round caps.
    if (s.points.size() == 1)
        svg += " L" + Num(s.points[0].x) + " " + Num(s.points[0].y);
    svg += "\"/>";
}

void AppendRecording(std::string& svg, const formats::InkRecordingData& r, size_t number)
{
    const int u = kInkUnitsPerPixel;
    const int size = formats::kInkRecordingIconUnits;
    unsigned ms = formats::WaveDurationMs(r.wave);
    char seconds[32];
    snprintf(seconds, sizeof seconds, "%u.%u s", ms / 1000, ms % 1000 / 100);
    svg += "<g class=\"recording\" transform=\"translate(" + Num(r.x) + " " + Num(r.y) + ")\">";
    svg += "<title>Recording " + Num(static_cast<long long>(number)) + " (" + seconds + ")</title>";
    svg += "<rect width=\"" + Num(size) + "\" height=\"" + Num(size) + "\" rx=\"" + Num(3 * u) +
           "\" fill=\"#ebebeb\" stroke=\"#5a5a5a\" stroke-width=\"" + Num(u) + "\"/>";
    // A loudspeaker: its box and cone, then two waves.
    svg += "<path fill=\"#3c3c3c\" d=\"M" + Num(4 * u) + " " + Num(8 * u) + " h" + Num(3 * u) +
           " l" + Num(4 * u) + " " + Num(-4 * u) + " v" + Num(12 * u) + " l" + Num(-4 * u) + " " +
           Num(-4 * u) + " h" + Num(-3 * u) + " z\"/>";
    svg += "<path fill=\"none\" stroke=\"#3c3c3c\" stroke-width=\"" + Num(u) + "\" d=\"M" +
           Num(13 * u) + " " + Num(7 * u) + " q" + Num(2 * u) + " " + Num(3 * u) + " 0 " +
           Num(6 * u) + " M" + Num(15 * u) + " " + Num(5 * u) + " q" + Num(3 * u) + " " +
           Num(5 * u) + " 0 " + Num(10 * u) + "\"/>";
    svg += "</g>";
}

}  // namespace

std::string RenderSvg(const formats::InkContent& content, const PageLook& look, bool standalone)
{
    uint32_t zoom = std::min<uint32_t>(std::max<uint32_t>(look.zoom, 25), 300);
    Extent extent;
    extent.Grow(kWindowWidth * kInkUnitsPerPixel * 100LL / zoom,
                kWindowHeight * kInkUnitsPerPixel * 100LL / zoom);
    for (const formats::InkStrokeData& s : content.strokes) {
        for (const formats::InkPoint& p : s.points) {
            extent.Grow(p.x + s.width, p.y + s.width);
            extent.Grow(p.x - s.width, p.y - s.width);
        }
    }
    for (const formats::InkRecordingData& r : content.recordings)
        extent.Grow(r.x + formats::kInkRecordingIconUnits + kInkUnitsPerPixel,
                    r.y + formats::kInkRecordingIconUnits + kInkUnitsPerPixel);
    std::vector<PageTextLine> lines = LayPageText(content, look.pageStyle, zoom);
    formats::InkPoint origin = formats::TextOriginOf(look.pageStyle);
    if (!lines.empty())
        extent.Grow(origin.x, lines.back().top + formats::kPageLinePitch);
    long long width = extent.right - extent.left;
    long long height = extent.bottom - extent.top;

    std::string svg;
    if (standalone)
        svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + Num(extent.left) + " " + Num(extent.top) +
           " " + Num(width) + " " +
           Num(height) + "\" width=\"" + Num(width * zoom / 100 / kInkUnitsPerPixel) +
           "\" height=\"" + Num(height * zoom / 100 / kInkUnitsPerPixel) + "\">";
    svg += "<rect class=\"paper\" x=\"" + Num(extent.left) + "\" y=\"" + Num(extent.top) + "\" width=\"" + Num(width) + "\" height=\"" + Num(height) +
           "\" fill=\"" + Colour(look.paper) + "\"/>";
    AppendRules(svg, look.pageStyle, extent);
    if (!lines.empty()) {
        svg += "<g class=\"text\" font-family=\"Tahoma, 'DejaVu Sans', sans-serif\" font-size=\"" +
               Num(formats::kPageTextFontPixels * kInkUnitsPerPixel) + "\" fill=\"#000000\">";
        for (size_t i = 0; i < lines.size(); ++i) {
            svg += "<text x=\"" + Num(origin.x) + "\" y=\"" + Num(lines[i].top + 12 * kInkUnitsPerPixel) +
                   "\" xml:space=\"preserve\">" + EscapeXml(Utf8FromUtf16(lines[i].text)) + "</text>";
        }
        svg += "</g>";
    }
    // Icons go under the ink, as on the device: what was written across one
    // stays in sight.
    for (size_t i = 0; i < content.recordings.size(); ++i)
        AppendRecording(svg, content.recordings[i], i + 1);
    if (!content.strokes.empty()) {
        svg += "<g class=\"strokes\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">";
        for (const formats::InkStrokeData& s : content.strokes)
            AppendStroke(svg, s);
        svg += "</g>";
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace exporter
