// The content of one control: strokes, the typed text and the recordings.
// It knows nothing of windows; the view draws it and the stream format
// reads and writes it.
#pragma once

#include "InkRecording.h"
#include "InkStroke.h"

#include <string>
#include <vector>

class InkDocument {
public:
    std::vector<InkStroke>& Strokes() { return strokes_; }
    const std::vector<InkStroke>& Strokes() const { return strokes_; }
    std::wstring& Text() { return text_; }
    const std::wstring& Text() const { return text_; }
    std::vector<InkRecording>& Recordings() { return recordings_; }
    const std::vector<InkRecording>& Recordings() const { return recordings_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    void Clear();

    // Lowest content y (units) used by strokes and recordings; 0 when none.
    int InkBottom() const;
    // Rightmost content x (units) used by strokes and recordings.
    int InkRight() const;

private:
    std::vector<InkStroke> strokes_;
    std::wstring text_;
    std::vector<InkRecording> recordings_;
    bool modified_ = false;
};

// Size of a recording's icon on the page, in content units.
const int kInkRecordingIconUnits = formats::kInkRecordingIconUnits;
