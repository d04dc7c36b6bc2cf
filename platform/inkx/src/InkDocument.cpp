#include "InkDocument.h"

void InkDocument::Clear()
{
    strokes_.clear();
    text_.clear();
    recordings_.clear();
    modified_ = false;
}

int InkDocument::InkBottom() const
{
    int bottom = 0;
    for (const InkStroke& s : strokes_) {
        RECT b = s.Bounds();
        if (b.bottom > bottom)
            bottom = b.bottom;
    }
    for (const InkRecording& r : recordings_) {
        if (r.Y() + kInkRecordingIconUnits > bottom)
            bottom = r.Y() + kInkRecordingIconUnits;
    }
    return bottom;
}

int InkDocument::InkRight() const
{
    int right = 0;
    for (const InkStroke& s : strokes_) {
        RECT b = s.Bounds();
        if (b.right > right)
            right = b.right;
    }
    for (const InkRecording& r : recordings_) {
        if (r.X() + kInkRecordingIconUnits > right)
            right = r.X() + kInkRecordingIconUnits;
    }
    return right;
}
