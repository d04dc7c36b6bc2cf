#include "desktop/export/PageTextLayout.h"

#include "desktop/export/Markup.h"

#include "formats/LineBreaks.h"
#include "formats/PageStyle.h"
#include "formats/TextRows.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <stdlib.h>

#include <algorithm>
#include <map>

namespace exporter {

namespace {

using formats::kInkUnitsPerPixel;

// The note window's ink control, in pixels, and the scroll bar it shows
// once the page is taller than the window (Wine's width, as the device has it).
const int kControlWidth = 240;
const int kControlHeight = 226;
const int kScrollBarWidth = 16;

// cairo and fontconfig keep the fonts they found until the program ends;
// given back then, a leak checker sees nothing left.
void ReleaseFontCaches()
{
    cairo_debug_reset_static_data();
    FcFini();
}

// Widths of the page font's characters in whole pixels, as GDI gives them.
class FontWidths {
public:
    explicit FontWidths(int pixels)
    {
        static const bool released = atexit(ReleaseFontCaches) == 0;
        (void)released;
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
        cr_ = cairo_create(surface_);
        cairo_select_font_face(cr_, "Tahoma", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, pixels);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_set_font_options(cr_, options);
        cairo_font_options_destroy(options);
    }
    ~FontWidths()
    {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    FontWidths(const FontWidths&) = delete;
    FontWidths& operator=(const FontWidths&) = delete;

    int Of(uint32_t c)
    {
        auto found = widths_.find(c);
        if (found != widths_.end())
            return found->second;
        std::string utf8;
        AppendUtf8(utf8, c);
        cairo_text_extents_t extents = {};
        cairo_text_extents(cr_, utf8.c_str(), &extents);
        int width = cairo_status(cr_) == CAIRO_STATUS_SUCCESS ? static_cast<int>(extents.x_advance + 0.5) : 0;
        widths_[c] = width;
        return width;
    }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::map<uint32_t, int> widths_;
};

// Each UTF-16 unit's advance, a pair's whole width on its first unit.
void Measure(FontWidths& font, const std::u16string& text, size_t start, size_t end, std::vector<int>* advances)
{
    advances->assign(end - start, 0);
    for (size_t i = start; i < end; ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < end && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            (*advances)[i - start] = font.Of(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c != u'\t' && c != u'\r') {
            (*advances)[i - start] = font.Of(c);
        }
    }
}

std::vector<PageTextLine> Lay(FontWidths& font, const formats::InkContent& content, int pageStyle,
                              uint32_t zoom, int controlWidth)
{
    formats::InkPoint origin = formats::TextOriginOf(pageStyle);
    long long wrap = controlWidth - origin.x * zoom / 100 / kInkUnitsPerPixel - 4;
    if (wrap < 8)
        wrap = 8;
    std::vector<int> iconTops;
    for (const formats::InkRecordingData& r : content.recordings)
        iconTops.push_back(r.y);
    formats::TextRows rows(origin.y, iconTops);
    const std::u16string& text = content.text;
    std::vector<PageTextLine> lines;
    std::vector<formats::LineSpan> spans;
    std::vector<int> advances;
    for (size_t start = 0; !text.empty() && start <= text.size();) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        Measure(font, text, start, end, &advances);
        // Widths are in pixels of the font at the zoom, as is the wrap.
        spans.clear();
        formats::BreakParagraph(text.c_str(), start, end, advances.data(), wrap, &spans);
        for (const formats::LineSpan& span : spans) {
            std::u16string line = text.substr(span.start, span.length);
            if (span.start + span.length < end && !line.empty() && line.back() == u' ')
                line.pop_back();
            long long top = origin.y + static_cast<long long>(rows.Next()) * formats::kPageLinePitch;
            lines.push_back({line, span.start, top});
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::vector<PageTextLine> LayPageText(const formats::InkContent& content, int pageStyle, uint32_t zoom)
{
    if (content.text.empty())
        return {};
    long long bottom = 0;
    for (const formats::InkStrokeData& s : content.strokes) {
        for (const formats::InkPoint& p : s.points)
            bottom = std::max<long long>(bottom, p.y + s.width);
    }
    for (const formats::InkRecordingData& r : content.recordings)
        bottom = std::max<long long>(bottom, r.y + formats::kInkRecordingIconUnits);
    FontWidths font(static_cast<int>((formats::kPageTextFontPixels * zoom + 50) / 100));
    std::vector<PageTextLine> lines = Lay(font, content, pageStyle, zoom, kControlWidth);
    if (!lines.empty() && lines.back().top + formats::kPageLinePitch > bottom)
        bottom = lines.back().top + formats::kPageLinePitch;
    if (bottom * zoom / 100 / kInkUnitsPerPixel > kControlHeight)
        lines = Lay(font, content, pageStyle, zoom, kControlWidth - kScrollBarWidth);
    return lines;
}

}  // namespace exporter
