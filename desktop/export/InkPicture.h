// A note's ink as a PNG picture, for notes apps that show no SVG: the
// strokes at their widths and colours on the note window's yellow paper
// with its page style, at the note's zoom. Drawn and encoded by cairo.
#pragma once

#include "desktop/export/SvgPage.h"
#include "formats/InkContent.h"

#include <string>

namespace exporter {

struct InkPicture {
    std::string png;  // empty when the note has no ink, or cairo failed
    int width = 0;    // pixels
    int height = 0;
};

// The window's page at the zoom, grown to every stroke (to the left and
// above too); a picture larger than kMaxPictureSide on a side, or than
// kMaxPicturePixels in all, is scaled down to fit, so no note's
// coordinates make a picture too large to open.
const int kMaxPictureSide = 2048;
const long long kMaxPicturePixels = 2048LL * 1024;
InkPicture RenderInkPng(const formats::InkContent& content, const PageLook& look);

}  // namespace exporter
